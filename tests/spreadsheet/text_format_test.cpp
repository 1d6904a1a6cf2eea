#include <gtest/gtest.h>

#include "spreadsheet/formula/text_format.h"

namespace tavrin {
namespace {

std::string Shown(double number, const char* code) {
  Variant text = FormatText(Variant(number), code);
  return text.IsText() ? text.AsText() : "(not a text)";
}

TEST(TextFormatTest, DigitPlacesAroundLiteralsTakeTheirDigitsFromTheRight) {
  EXPECT_EQ(Shown(1234567, "000-0000"), "123-4567");
  EXPECT_EQ(Shown(123, "000-0000"), "000-0123");
  EXPECT_EQ(Shown(5551234567, "(###) ###-####"), "(555) 123-4567");
  EXPECT_EQ(Shown(12345678, "00-00"), "123456-78") << "the first place takes what is left";
  EXPECT_EQ(Shown(1234567, "#,##0"), "1,234,567");
}

TEST(TextFormatTest, TrailingCommasScaleByThousands) {
  EXPECT_EQ(Shown(1234567, "0.0,,"), "1.2");
  EXPECT_EQ(Shown(1234567, "#,##0.0,,\"M\""), "1.2M");
  EXPECT_EQ(Shown(1234567, "0,.00"), "1234.57");
  EXPECT_EQ(Shown(1234567, "#,##0,"), "1,235");
}

TEST(TextFormatTest, Fractions) {
  EXPECT_EQ(Shown(0.5, "# ?/?"), " 1/2");
  EXPECT_EQ(Shown(1.25, "# ?/?"), "1 1/4");
  EXPECT_EQ(Shown(2.5, "# ?/8"), "2 4/8");
  EXPECT_EQ(Shown(1.0 / 3, "?/??"), "1/3 ");
  EXPECT_EQ(Shown(0.7,
                  "# ?"
                  "?/?"
                  "?"),
            "  7/10");
  EXPECT_EQ(Shown(3, "# ?/?"), "3    ") << "a whole number blanks its fraction";
  EXPECT_EQ(Shown(-1.5, "# ?/?"), "-1 1/2");
}

TEST(TextFormatTest, EmptySectionsShowNothing) {
  EXPECT_EQ(Shown(5, ";;;"), "");
  EXPECT_EQ(Shown(-5, "0;;0"), "");
  EXPECT_EQ(Shown(5, "\"n/a\""), "n/a") << "literals alone show no number";
  EXPECT_EQ(Shown(5, "0.0;;;"), "5.0");
}

TEST(TextFormatTest, BracketedConditionsChooseTheSection) {
  EXPECT_EQ(Shown(5, "[<10]0.0;0"), "5.0");
  EXPECT_EQ(Shown(12, "[<10]0.0;0"), "12");
  EXPECT_EQ(Shown(150, "[>=100]\"big\";[>=10]\"mid\";\"small\""), "big");
  EXPECT_EQ(Shown(50, "[>=100]\"big\";[>=10]\"mid\";\"small\""), "mid");
  EXPECT_EQ(Shown(5, "[>=100]\"big\";[>=10]\"mid\";\"small\""), "small");
  EXPECT_EQ(Shown(5, "[Red][<10]0.0;0"), "5.0") << "a colour before the condition";
  EXPECT_EQ(Shown(1, "[=1]\"one\";0"), "one");
  EXPECT_EQ(Shown(2, "[=1]\"one\";0"), "2");
}

TEST(TextFormatTest, AnExponentOfOnePlaceAndASpaceOrFillEndingTheCode) {
  EXPECT_EQ(Shown(12345, "0.0E+0"), "1.2E+4");
  EXPECT_EQ(Shown(0.00012, "0E-0"), "1E-4");
  // With no character after it to size or repeat, a "_" or "*" is shown as itself.
  EXPECT_EQ(Shown(5, "0_"), "5_");
  EXPECT_EQ(Shown(5, "0*"), "5*");
}

TEST(TextFormatTest, NoDigitPastTheFifteenthSignificantOne) {
  EXPECT_EQ(Shown(0.1 + 0.2, "0.000000000000000000"), "0.300000000000000000");
  EXPECT_EQ(Shown(1.0 / 3, "0.00000000000000000"), "0.33333333333333300");
  EXPECT_EQ(Shown(123456789012345678.0, "0"), "123456789012346000");
}

TEST(TextFormatTest, ANumberInATextSectionShowsAsGeneral) {
  EXPECT_EQ(Shown(68.62, "@"), "68.62");
  EXPECT_EQ(Shown(5, "\"n=\"@"), "n=5");
}

}  // namespace
}  // namespace tavrin
