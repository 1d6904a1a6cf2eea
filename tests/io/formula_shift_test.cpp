#include <gtest/gtest.h>

#include "io/formula_shift.h"
#include "io/number_format.h"

namespace tavrin {
namespace {

TEST(FormulaShiftTest, RelativePartsMoveAndEverythingElseStays) {
  EXPECT_EQ(ShiftFormula("D2*E2", 3, 0), "D5*E5");
  EXPECT_EQ(ShiftFormula("SUM($B2:B$4)+$C$1", 2, 1), "SUM($B4:C$4)+$C$1");
  EXPECT_EQ(ShiftFormula("SUM(A:A,3:4)", 1, 2), "SUM(C:C,4:5)");
  EXPECT_EQ(ShiftFormula("'Q1 A1'!A1&\"B2\"&Sheet2!B2", 1, 0), "'Q1 A1'!A2&\"B2\"&Sheet2!B3");
  EXPECT_EQ(ShiftFormula("LOG10(A1)+TRUE+name_a1+1.5E+3", 1, 1), "LOG10(B2)+TRUE+name_a1+1.5E+3");
  EXPECT_EQ(ShiftFormula("A1+B2", -1, 0), "#REF!+B1");
  EXPECT_EQ(ShiftFormula("SUM(A1:B2)", 0, -1), "SUM(#REF!)");
  // Names that look like references past the largest sheet a file describes stay names.
  EXPECT_EQ(ShiftFormula("XFE1+ABCD1+A1+A0", 1, 0), "XFE1+ABCD1+A2+A0");
}

TEST(NumberFormatTest, DatesAreKnownByTheirCodesOutsideQuotesAndBrackets) {
  EXPECT_TRUE(IsDateFormat("yyyy\\-mm\\-dd"));
  EXPECT_TRUE(IsDateFormat("[$-804]yyyy\"年\"m\"月\""));
  EXPECT_TRUE(IsDateFormat("[h]:mm:ss"));
  EXPECT_FALSE(IsDateFormat("General"));
  EXPECT_FALSE(IsDateFormat("0.00E+00"));
  EXPECT_FALSE(IsDateFormat("#,##0\"days\""));
  EXPECT_FALSE(IsDateFormat("[Red]0.00;\\d0"));
  EXPECT_TRUE(IsDateFormatId(14));
  EXPECT_TRUE(IsDateFormatId(31));
  EXPECT_FALSE(IsDateFormatId(0));
  EXPECT_FALSE(IsDateFormatId(49));
  // The built-in ends of each run of date and time formats: m/d/yy h:mm and mm:ss.0.
  EXPECT_TRUE(IsDateFormatId(22));
  pugi::xml_document styles;
  styles.load_string(
      "<styleSheet><cellXfs><xf numFmtId=\"22\"/><xf numFmtId=\"47\"/><xf numFmtId=\"45\"/>"
      "</cellXfs></styleSheet>");
  EXPECT_EQ(CalendarStyles(styles), (std::vector<bool>{true, false, false}));
}

}  // namespace
}  // namespace tavrin
