#include <gtest/gtest.h>

#include "io/number_format.h"

namespace tavrin {
namespace {

TEST(NumberFormatTest, DatesAreKnownByTheirCodesOutsideQuotesAndBrackets) {
  EXPECT_TRUE(IsDateFormat("yyyy\\-mm\\-dd"));
  EXPECT_TRUE(IsDateFormat("[$-804]yyyy\"年\"m\"月\""));
  EXPECT_TRUE(IsDateFormat("[h]:mm:ss"));
  EXPECT_FALSE(IsDateFormat("General"));
  EXPECT_FALSE(IsDateFormat("0.00E+00"));
  EXPECT_FALSE(IsDateFormat("#,##0\"days\""));
  EXPECT_FALSE(IsDateFormat("[Red]0.00;\\d0"));
  EXPECT_FALSE(IsDateFormat("#,##0_d;[Red]*h#,##0")) << "a letter spaced or padded";
  EXPECT_TRUE(IsDateFormatId(14));
  EXPECT_TRUE(IsDateFormatId(31));
  EXPECT_FALSE(IsDateFormatId(0));
  EXPECT_FALSE(IsDateFormatId(49));
  // The built-in ends of each run of date and time formats: m/d/yy h:mm and mm:ss.0.
  EXPECT_TRUE(IsDateFormatId(22));
  // The times 45-47 (mm:ss, [h]:mm:ss, mm:ss.0), both ends.
  EXPECT_FALSE(IsDateFormatId(44));
  EXPECT_TRUE(IsDateFormatId(45));
  EXPECT_TRUE(IsDateFormatId(47));
  EXPECT_FALSE(IsDateFormatId(48));
  // The East Asian runs: dates 27-36 and 50-58, of which 32-35, 55 and 56 show a time alone.
  EXPECT_TRUE(IsDateFormatId(27));
  EXPECT_TRUE(IsDateFormatId(50));
  EXPECT_TRUE(IsDateFormatId(58));
  EXPECT_FALSE(IsDateFormatId(59));
  pugi::xml_document styles;
  styles.load_string(
      "<styleSheet><cellXfs><xf numFmtId=\"22\"/><xf numFmtId=\"47\"/><xf numFmtId=\"45\"/>"
      "<xf numFmtId=\"31\"/><xf numFmtId=\"32\"/><xf numFmtId=\"35\"/><xf numFmtId=\"36\"/>"
      "<xf numFmtId=\"55\"/><xf numFmtId=\"57\"/></cellXfs></styleSheet>");
  EXPECT_EQ(CalendarStyles(styles),
            (std::vector<bool>{true, false, false, true, false, false, true, false, true}));
  // The times 18-21 and 56, a number, and formats of the workbook's own.
  styles.load_string(
      "<styleSheet><numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy\"/>"
      "<numFmt numFmtId=\"165\" formatCode=\"h:mm\"/></numFmts><cellXfs><xf numFmtId=\"17\"/>"
      "<xf numFmtId=\"18\"/><xf numFmtId=\"21\"/><xf numFmtId=\"56\"/><xf numFmtId=\"0\"/>"
      "<xf numFmtId=\"164\"/><xf numFmtId=\"165\"/></cellXfs></styleSheet>");
  EXPECT_EQ(CalendarStyles(styles),
            (std::vector<bool>{true, false, false, false, false, true, false}));
  EXPECT_EQ(DateStyles(styles), (std::vector<bool>{true, true, true, true, false, true, true}));
}

}  // namespace
}  // namespace tavrin
