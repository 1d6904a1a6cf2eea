#include <gtest/gtest.h>

#include <iterator>

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
  EXPECT_EQ(Shown(1.25, "# #/#"), "1 1/4");
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
  // A number no condition takes is shown by the last of the first three sections.
  EXPECT_EQ(Shown(5, "[>100]\"big\";[<-100]\"small\""), "small");
  EXPECT_EQ(Shown(5, "[>100]\"big\";[<-100]\"small\";[=1]\"one\";@"), "one");
}

TEST(TextFormatTest, EachConditionHoldsUpToItsBoundary) {
  const char* const codes[] = {"[<10]\"y\";\"n\"",  "[<=10]\"y\";\"n\"", "[>10]\"y\";\"n\"",
                               "[>=10]\"y\";\"n\"", "[=10]\"y\";\"n\"",  "[<>10]\"y\";\"n\""};
  const char* const at9[] = {"y", "y", "n", "n", "n", "y"};
  const char* const at10[] = {"n", "y", "n", "y", "y", "n"};
  const char* const at11[] = {"n", "n", "y", "y", "n", "y"};
  for (size_t i = 0; i < std::size(codes); ++i) {
    EXPECT_EQ(Shown(9, codes[i]), at9[i]) << codes[i];
    EXPECT_EQ(Shown(10, codes[i]), at10[i]) << codes[i];
    EXPECT_EQ(Shown(11, codes[i]), at11[i]) << codes[i];
  }
  // A bracket holding more than an operator and a number is no condition.
  EXPECT_EQ(Shown(12, "[<10x]0.0;0"), "12.0");
  EXPECT_EQ(Shown(12, "[<]0.0;0"), "12.0");
  EXPECT_EQ(Shown(12, "[<<10]0.0;0"), "12.0");
  EXPECT_EQ(Shown(5, "[Red]\"+\"0"), "+5");
}

TEST(TextFormatTest, SemicolonsInQuotesEscapesAndSpacesSplitNoSections) {
  EXPECT_EQ(Shown(-1, "\"a;b\"0;\"neg\"0"), "neg1");
  EXPECT_EQ(Shown(1, "\"a;b\"0;\"neg\"0"), "a;b1");
  EXPECT_EQ(Shown(-5, "0\\;0"), "-0;5");
  EXPECT_EQ(Shown(-5, "0_;0"), "-0 5");
  EXPECT_EQ(Shown(1234, "0\\-00"), "12-34");
  EXPECT_EQ(Shown(5, "_(0_)"), " 5 ");
  EXPECT_EQ(Shown(5, "*x0"), "5") << "a fill shows nothing";
  EXPECT_EQ(Shown(5, "0*-"), "5");
  EXPECT_EQ(Shown(5, "0元"), "5元");
  EXPECT_EQ(Shown(5, "(+0)"), "(+5)");
  EXPECT_EQ(Shown(5, "0\\"), "5\\") << "a backslash ending the code shows as itself";
}

TEST(TextFormatTest, GeneralInAnyCaseAndInChinese) {
  EXPECT_EQ(Shown(1.5, "general"), "1.5");
  EXPECT_EQ(Shown(1.5, "GENERAL"), "1.5");
  EXPECT_EQ(Shown(1.5, "G/通用格式"), "1.5");
  EXPECT_EQ(Shown(1.5, "General\" kg\""), "1.5 kg");
  EXPECT_EQ(Shown(-1.5, "G/通用格式\"元\""), "-1.5元");
}

TEST(TextFormatTest, ElapsedTimesAndFractionsOfSeconds) {
  EXPECT_EQ(Shown(1.25, "[mm]:ss"), "1800:00");
  EXPECT_EQ(Shown(0.5, "[ss]"), "43200");
  EXPECT_EQ(Shown(1.25, "[H]:MM"), "30:00");
  EXPECT_EQ(Shown(0.5 + 1.25 / 86400, "hh:mm:ss.00"), "12:00:01.25");
  EXPECT_EQ(Shown(45296, "aaa"), "五");
  EXPECT_EQ(Shown(45296, "d.m.yyyy"), "5.1.2024");
}

TEST(TextFormatTest, PlacesAroundThePointAndCommasThatAreText) {
  EXPECT_EQ(Shown(123456, "#,##0"), "123,456");
  EXPECT_EQ(Shown(1234, ",0"), ",1234") << "a comma before every place is text";
  EXPECT_EQ(Shown(1.234, "0.0,0"), "1.2,3");
  EXPECT_EQ(Shown(5, "??"), " 5");
  EXPECT_EQ(Shown(2.5, "0.0?"), "2.5 ");
  EXPECT_EQ(Shown(2, "0.##"), "2.");
  EXPECT_EQ(Shown(2.55, "0.##"), "2.55");
  EXPECT_EQ(Shown(1.5, ".00"), "1.50");
  EXPECT_EQ(Shown(0.25, "%"), "25%");
  EXPECT_EQ(Shown(1.5, "\"No.\".00"), "No.1.50") << "a point in a literal is none";
  EXPECT_EQ(Shown(0, "0.00E+00"), "0.00E+00");
  EXPECT_EQ(Shown(5, "0E+0"), "5E+0");
}

TEST(TextFormatTest, TheSectionForNegativesZeroAndTexts) {
  EXPECT_EQ(Shown(0, "0.0"), "0.0");
  EXPECT_EQ(Shown(0, "0.0;(0.0)"), "0.0");
  EXPECT_EQ(Shown(5, "0.0;(0.0)"), "5.0");
  EXPECT_EQ(Shown(5, "0;-0;\"zero\""), "5");
  EXPECT_EQ(FormatText(Variant::Boolean(true), "0"), Variant("TRUE"));
  EXPECT_EQ(FormatText(Variant::Boolean(false), "@"), Variant("FALSE"));
}

TEST(TextFormatTest, FractionsOfManyShapes) {
  EXPECT_EQ(Shown(1.0 / 9, "?/?"), "1/9");
  EXPECT_EQ(Shown(0.1, "?/?"), "1/9") << "no denominator past one digit";
  EXPECT_EQ(Shown(0.2, "0 ?/?"), "0 1/5");
  EXPECT_EQ(Shown(0.5, "? ?/?"), "  1/2");
  EXPECT_EQ(Shown(1.5, "00 ?/?"), "01 1/2");
  EXPECT_EQ(Shown(0.99, "?/?"), "1/1");
  EXPECT_EQ(Shown(1.99, "# ?/?"), "2    ");
  EXPECT_EQ(Shown(0, "# ?/?"), "0    ");
}

TEST(TextFormatTest, DateAndTimeFields) {
  EXPECT_EQ(Shown(0.5 + 1.26 / 86400, "ss.0"), "01.3");
  EXPECT_EQ(Shown(0.5 + 125.0 / 86400, "mm:ss"), "02:05");
  EXPECT_EQ(Shown(45296, "yyyy-mm"), "2024-01");
  EXPECT_EQ(Shown(45296, "mmmmm"), "J");
  EXPECT_EQ(Shown(0.75, "h am/pm"), "6 pm");
  EXPECT_EQ(Shown(0.25, "h:mm a/p"), "6:00 a");
  EXPECT_EQ(Shown(0.5, "h AM/PM"), "12 PM");
  EXPECT_EQ(Shown(0.5, "h A/P"), "12 P");
  EXPECT_EQ(Shown(0.5, "上午/下午h"), "下午12");
  EXPECT_EQ(Shown(0.25, "上午/下午h"), "上午6");
  EXPECT_EQ(Shown(45296.75, "aaaa hh:mm"), "星期五 18:00") << "a weekday is no AM/PM";
  EXPECT_EQ(Shown(0, "yyyy-mm-dd"), "1900-01-00");
  EXPECT_EQ(Shown(2958465, "yyyy"), "9999");
  EXPECT_EQ(FormatText(Variant(2958466.0), "yyyy"), Variant(ErrorValue::Value));
}

TEST(TextFormatTest, AnExponentOfOnePlaceAndASpaceOrFillEndingTheCode) {
  EXPECT_EQ(Shown(12345, "0.0E+0"), "1.2E+4");
  EXPECT_EQ(Shown(0.00012, "0E-0"), "1E-4");
  // With no character after it to size or repeat, a "_" or "*" is shown as itself.
  EXPECT_EQ(Shown(5, "0_"), "5_");
  EXPECT_EQ(Shown(5, "0*"), "5*");
  // Nor is an "E" with no sign after it an exponent: it is shown as itself.
  EXPECT_EQ(Shown(5, "0E"), "5E");
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
