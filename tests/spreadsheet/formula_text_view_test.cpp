#include <gtest/gtest.h>

#include <string>

#include "sheet_fixture.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/formula/serial_date.h"

namespace tavrin {
namespace {

// A formula or a value's text may be a view of a longer text (a cell's text inside the part it
// was read from): the reading stops at the view's end, whatever follows it.
std::string_view Cut(const std::string& text, size_t length) {
  return std::string_view(text).substr(0, length);
}

TEST(FormulaTextView, AQuoteLeftOpenAtTheEndIsNoFormulaWhateverFollows) {
  const std::string text = "=\"ab\"&1";
  EXPECT_TRUE(ParseFormula(Cut(text, 5), Notation::A1, 1, 1));
  EXPECT_FALSE(ParseFormula(Cut(text, 4), Notation::A1, 1, 1)) << "=\"ab";
}

TEST(FormulaTextView, BlanksAloneAreNoValue) {
  const std::string text = "   5";
  EXPECT_FALSE(ReadValueText(Cut(text, 3)));
  EXPECT_FALSE(ReadValueText(Cut(text, 0)));
  EXPECT_EQ(ReadValueText(" 50% "), 0.5);
}

TEST(FormulaTextView, ATimesFractionEndsWithItsText) {
  const std::string text = "12:30:45.5999";
  std::optional<double> time = ReadValueText(Cut(text, 10));
  ASSERT_TRUE(time);
  EXPECT_DOUBLE_EQ(*time * 86400, 12 * 3600 + 30 * 60 + 45.5);
}

class ReadFormulaTest : public SheetTest {};

// A formula read from a file shows as the file wrote it, blanks and all, while it stays where
// it was written; moved, it shows as its references read from there.
TEST_F(ReadFormulaTest, AFormulaFromAFileKeepsItsTextWhereItWasWritten) {
  Set("B1", Variant(3));
  auto read = std::make_shared<const CellFormula>("=SUM( B1 , 2 )", nullptr, 1, 1);
  sheet.Store().Put(1, 1, Cell{Variant(5), read, 0});
  At("C1").SetFormula("=B1*2");
  EXPECT_EQ(At("A1").Formula(), "=SUM( B1 , 2 )");
  sheet.Rows(1, 1).Insert();
  EXPECT_EQ(At("A2").Formula(), "=SUM(B2,2)");
  EXPECT_EQ(At("C2").Formula(), "=B2*2") << "typed";
}

}  // namespace
}  // namespace tavrin
