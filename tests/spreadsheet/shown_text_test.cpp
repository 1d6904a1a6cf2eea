#include "spreadsheet/shown_text.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

constexpr double kStandard = 8.43;

std::string Shown(const Variant& value, double width, std::string_view code = "") {
  return ShowInColumn(value, code, width, UserLocale{}).text;
}

TEST(ShownTextTest, AGeneralNumberIsRoundedToItsColumnThenShownScientificThenAsHashes) {
  EXPECT_EQ(Shown(13594932.65, kStandard), "13594933");
  EXPECT_EQ(Shown(13594932.65, 20), "13594932.65");
  EXPECT_EQ(Shown(0.521116137504578, kStandard), "0.521116");
  EXPECT_EQ(Shown(-13594932.65, kStandard), "-1.4E+07");
  EXPECT_EQ(Shown(123456789012345.0, 30), "1.23457E+14");  // 11 characters at most
  EXPECT_EQ(Shown(0.0001234, 20), "0.0001234");
  EXPECT_EQ(Shown(1.5e-7, kStandard), "1.5E-07");
  EXPECT_EQ(Shown(1e-10, kStandard), "1E-10");
  EXPECT_EQ(Shown(99999999.9, kStandard), "1E+08");  // rounding carries into a ninth digit
  EXPECT_EQ(Shown(0.0, 1), "0");
  EXPECT_EQ(Shown(0.0, 0.5), "#") << "too narrow even for 0";
  EXPECT_EQ(Shown(13594932.65, 3), "##");
}

TEST(ShownTextTest, AGeneralNumberKeepsTheFormWithMoreOfItsDigits) {
  EXPECT_EQ(Shown(100, kStandard), "100");
  EXPECT_EQ(Shown(12345678, 8), "12345678") << "eight digits just fit";
  EXPECT_EQ(Shown(0.0000199999, 20), "1.99999E-05");
  EXPECT_EQ(Shown(0.00001000051, 20), "1.00005E-05");
  EXPECT_EQ(Shown(5, 16, "0\"kg"), "5kg") << "a quote left open";
}

TEST(ShownTextTest, AFormattedNumberShowsItsFormatOrHashesWhenTooWide) {
  EXPECT_EQ(Shown(0.521116137504578, kStandard, "0.0%"), "52.1%");
  EXPECT_EQ(Shown(1234567.891, 16, "#,##0.00"), "1,234,567.89");
  EXPECT_EQ(Shown(1234567.891, kStandard, "#,##0.00"), "######");
  // Separators, colons and spaces take half a digit's room: 10.5 digits fit in 10.57.
  EXPECT_EQ(Shown(1234567.891, 10.58, "#,##0.00"), "1,234,567.89");
  EXPECT_EQ(Shown(1234567.891, 10.4, "#,##0.00"), "########");
  EXPECT_EQ(Shown(Variant::Date(0.5240162037), 7, "hh:mm:ss"), "12:34:35");
  EXPECT_EQ(Shown(0.5, 4, "0 %"), "50 %");
  EXPECT_EQ(Shown(Variant::Date(45444), 16, "yyyy\"年\"m\"月\"d\"日\""), "2024年6月1日");
  EXPECT_EQ(Shown(Variant::Date(45444), kStandard, "yyyy\"年\"m\"月\"d\"日\""), "######");
  // A text, a Boolean and an error value are never formatted as numbers.
  EXPECT_EQ(Shown(Variant("0.5"), kStandard, "0.0%"), "0.5");
  EXPECT_EQ(Shown(Variant::Boolean(true), 1), "TRUE");
  EXPECT_EQ(Shown(Variant(ErrorValue::NA), 1), "#N/A");
}

TEST(ShownTextTest, TheColourOfTheSectionThatShowsTheNumberComesWithIt) {
  std::string_view code = "#,##0.00;[Red]-#,##0.00";
  ShownText negative = ShowInColumn(-1234.5, code, 16, UserLocale{});
  EXPECT_EQ(negative.text, "-1,234.50");
  EXPECT_EQ(negative.colour, 0xFF0000u);
  EXPECT_FALSE(ShowInColumn(1234.5, code, 16, UserLocale{}).colour);
  EXPECT_EQ(ShowInColumn(-1.0, "0;[蓝色]\"[Red]\"0", 16, UserLocale{}).colour, 0x0000FFu);
  EXPECT_EQ(ShowInColumn(-1.0, "0;\"[Red]\"[Blue]0", 16, UserLocale{}).colour, 0x0000FFu);
  EXPECT_EQ(ShowInColumn(-1.0, "\"a;b\"0;[Red]0", 16, UserLocale{}).colour, 0xFF0000u);
  EXPECT_FALSE(ShowInColumn(-1.0, "0;\\[Red]0", 16, UserLocale{}).colour);
  EXPECT_FALSE(ShowInColumn(0.0, "0;[Red]0", 16, UserLocale{}).colour);
  EXPECT_EQ(ShowInColumn(0.0, "0;0;[Blue]0", 16, UserLocale{}).colour, 0x0000FFu);
  EXPECT_FALSE(ShowInColumn(5.0, "0;0;[Blue]0", 16, UserLocale{}).colour);
}

}  // namespace
}  // namespace tavrin
