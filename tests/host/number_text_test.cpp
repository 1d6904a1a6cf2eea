#include <gtest/gtest.h>

#include <limits>

#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {
namespace {

const UserLocale kDefault;

UserLocale DecimalComma() {
  UserLocale locale;
  locale.decimalPoint = ',';
  locale.thousandsSeparator = '.';
  return locale;
}

TEST(NumberText, PrintsUpToFifteenSignificantDigitsWithoutTrailingZeros) {
  EXPECT_EQ(NumberText(0, kDefault), "0");
  EXPECT_EQ(NumberText(-0.0, kDefault), "0");
  EXPECT_EQ(NumberText(7, kDefault), "7");
  EXPECT_EQ(NumberText(1234.5, kDefault), "1234.5");
  EXPECT_EQ(NumberText(-2.5, kDefault), "-2.5");
  EXPECT_EQ(NumberText(100, kDefault), "100");
  EXPECT_EQ(NumberText(1234567, kDefault), "1234567");
  EXPECT_EQ(NumberText(0.1 + 0.2, kDefault), "0.3");
  EXPECT_EQ(NumberText(1.0 / 3, kDefault), "0.333333333333333");
  EXPECT_EQ(NumberText(-2.0 / 3, kDefault), "-0.666666666666667");
  EXPECT_EQ(NumberText(123456789012345, kDefault), "123456789012345");
  EXPECT_EQ(NumberText(1.23456789012345678, kDefault), "1.23456789012346");
  EXPECT_EQ(NumberText(0.1 * 3 - 0.3, kDefault), "5.55111512312578E-17");
}

TEST(NumberText, SwitchesToExponentFormFromOneE15AndBelowOneEMinus4) {
  EXPECT_EQ(NumberText(999999999999999, kDefault), "999999999999999");
  EXPECT_EQ(NumberText(1e15, kDefault), "1E+15");
  EXPECT_EQ(NumberText(-1e15, kDefault), "-1E+15");
  EXPECT_EQ(NumberText(1.5e20, kDefault), "1.5E+20");
  EXPECT_EQ(NumberText(12345678901234568.0, kDefault), "1.23456789012346E+16");
  EXPECT_EQ(NumberText(1e100, kDefault), "1E+100");
  EXPECT_EQ(NumberText(0.0001, kDefault), "0.0001");
  EXPECT_EQ(NumberText(0.000123, kDefault), "0.000123");
  EXPECT_EQ(NumberText(0.00001, kDefault), "1E-05");
  EXPECT_EQ(NumberText(-0.0000125, kDefault), "-1.25E-05");
  EXPECT_EQ(NumberText(2.5e-9, kDefault), "2.5E-09");
  EXPECT_EQ(NumberText(1e-10, kDefault), "1E-10");
  EXPECT_EQ(NumberText(1e-300, kDefault), "1E-300");
}

TEST(NumberText, DecidesTheFormAfterRoundingToFifteenDigits) {
  // 999999999999999.9 rounds to 1E+15; 0.0000999999999999999 rounds up to 0.0001.
  EXPECT_EQ(NumberText(999999999999999.9, kDefault), "1E+15");
  EXPECT_EQ(NumberText(0.0000999999999999999999, kDefault), "0.0001");
  EXPECT_EQ(NumberText(9.99999999999999999, kDefault), "10");
}

TEST(NumberText, UsesTheLocaleDecimalPointAndNeverGroups) {
  UserLocale comma = DecimalComma();
  EXPECT_EQ(NumberText(1234.5, comma), "1234,5");
  EXPECT_EQ(NumberText(1234567.25, comma), "1234567,25");
  EXPECT_EQ(NumberText(1.5e20, comma), "1,5E+20");
  EXPECT_EQ(NumberText(0.001, comma), "0,001");
  EXPECT_EQ(NumberText(1234567, kDefault), "1234567");
}

TEST(NumberText, OverflowsOnNumbersWithoutText) {
  try {
    NumberText(std::numeric_limits<double>::infinity(), kDefault);
    FAIL() << "no overflow";
  } catch (const HostError& error) {
    EXPECT_EQ(error.Number(), 6);
  }
}

TEST(DateText, PrintsTheShortDateInTheLocaleOrder) {
  // 2026-12-08 is serial 46364.
  EXPECT_EQ(DateText(46364, kDefault), "2026/12/8");
  EXPECT_EQ(DateText(1, kDefault), "1899/12/31");
  EXPECT_EQ(DateText(61, kDefault), "1900/3/1");
  EXPECT_EQ(DateText(36526, kDefault), "2000/1/1");
  EXPECT_EQ(DateText(36585, kDefault), "2000/2/29");
  // The calendar ends on 9999/12/31; past it a date shows as its number.
  EXPECT_EQ(DateText(2958465, kDefault), "9999/12/31");
  EXPECT_EQ(DateText(2958466, kDefault), "2958466");
  UserLocale us;
  us.dateOrder = UserLocale::DateOrder::MonthDayYear;
  EXPECT_EQ(DateText(46364, us), "12/8/2026");
  UserLocale german;
  german.dateOrder = UserLocale::DateOrder::DayMonthYear;
  german.dateSeparator = '.';
  EXPECT_EQ(DateText(46364, german), "8.12.2026");
}

TEST(DateText, AddsTheTimeWhenThereIsOne) {
  EXPECT_EQ(DateText(46364 + (13 * 60 + 5) / 1440.0, kDefault), "2026/12/8 13:05:00");
  EXPECT_EQ(DateText(46364 + 0.25, kDefault), "2026/12/8 6:00:00");
  EXPECT_EQ(DateText(46364 + 1.0 / 86400, kDefault), "2026/12/8 0:00:01");
  // Rounded to the second; the last half second before midnight is the next day.
  EXPECT_EQ(DateText(46364 + 0.4 / 86400, kDefault), "2026/12/8");
  EXPECT_EQ(DateText(46364 + 86399.6 / 86400, kDefault), "2026/12/9");
}

TEST(DateText, DayZeroPrintsOnlyTheTime) {
  EXPECT_EQ(DateText(0.5, kDefault), "12:00:00");
  EXPECT_EQ(DateText((23 * 3600 + 59 * 60 + 59) / 86400.0, kDefault), "23:59:59");
  EXPECT_EQ(DateText(0, kDefault), "0:00:00");
  EXPECT_EQ(DateText((10 * 3600 + 10 * 60 + 10) / 86400.0, kDefault), "10:10:10");
}

TEST(DateText, NegativeSerialsCountDaysBackWithTheTimeForward) {
  EXPECT_EQ(DateText(-1, kDefault), "1899/12/29");
  EXPECT_EQ(DateText(-1.25, kDefault), "1899/12/29 6:00:00");
  EXPECT_EQ(DateText(-365, kDefault), "1898/12/30");
  EXPECT_EQ(DateText(-657434, kDefault), "0100/1/1");
  EXPECT_EQ(DateText(2958465, kDefault), "9999/12/31");
}

TEST(DateText, ASerialOutsideTheRuntimesDatesPrintsAsItsNumber) {
  EXPECT_EQ(DateText(2958466, kDefault), "2958466");
  EXPECT_EQ(DateText(3000000.5, DecimalComma()), "3000000,5");
  EXPECT_EQ(DateText(-657435, kDefault), "-657435");
  EXPECT_EQ(DateText(2958465.9999999, kDefault), "2958465.9999999")
      << "the last second of 9999-12-31 rounds into the year 10000";
  EXPECT_EQ(TextOf(Variant::Date(3000000), kDefault), "3000000");
}

TEST(ReadNumber, ReadsSignsBlanksDecimalsAndExponents) {
  EXPECT_EQ(ReadNumber("12", kDefault), 12);
  EXPECT_EQ(ReadNumber("  12\t", kDefault), 12);
  EXPECT_EQ(ReadNumber(" 0 ", kDefault), 0);
  EXPECT_EQ(ReadNumber("0.00", kDefault), 0);
  EXPECT_EQ(ReadNumber("00", kDefault), 0);
  EXPECT_EQ(ReadNumber("-7", kDefault), -7);
  EXPECT_EQ(ReadNumber("+7", kDefault), 7);
  EXPECT_EQ(ReadNumber("-2.5", kDefault), -2.5);
  EXPECT_EQ(ReadNumber(".5", kDefault), 0.5);
  EXPECT_EQ(ReadNumber("-.5", kDefault), -0.5);
  EXPECT_EQ(ReadNumber("5.", kDefault), 5);
  EXPECT_EQ(ReadNumber("1E5", kDefault), 1e5);
  EXPECT_EQ(ReadNumber("1.5e-3", kDefault), 1.5e-3);
  EXPECT_EQ(ReadNumber("2e+2", kDefault), 200);
  EXPECT_EQ(ReadNumber("0.1", kDefault), 0.1);
}

// A text given as part of a longer one is read to its own end, never past it.
TEST(ReadNumber, ReadsOnlyTheTextItIsGiven) {
  std::string_view longer = "1e5,2";
  EXPECT_EQ(ReadNumber(longer.substr(0, 2), kDefault), std::nullopt) << "1e, no exponent";
  EXPECT_EQ(ReadNumber(longer.substr(0, 3), kDefault), 1e5);
  EXPECT_EQ(ReadNumber(longer.substr(0, 1), kDefault), 1);
  EXPECT_EQ(ReadNumber(std::string_view("1e55").substr(0, 3), kDefault), 1e5);
  EXPECT_EQ(ReadNumber(std::string_view("1.55").substr(0, 3), kDefault), 1.5);
  EXPECT_EQ(ReadNumber(std::string_view("12,5").substr(0, 3), kDefault), std::nullopt);
}

TEST(ReadNumber, TakesThousandsSeparatorsBetweenDigitsOfTheWholePart) {
  EXPECT_EQ(ReadNumber("1,234", kDefault), 1234);
  EXPECT_EQ(ReadNumber("1,234,567.5", kDefault), 1234567.5);
  EXPECT_EQ(ReadNumber("-12,34", kDefault), -1234);
  EXPECT_EQ(ReadNumber("1,,2", kDefault), std::nullopt);
  EXPECT_EQ(ReadNumber(",1", kDefault), std::nullopt);
  EXPECT_EQ(ReadNumber("1,", kDefault), std::nullopt);
  EXPECT_EQ(ReadNumber("1,.5", kDefault), std::nullopt);
  EXPECT_EQ(ReadNumber("1.2,3", kDefault), std::nullopt);
}

TEST(ReadNumber, FollowsTheLocaleDecimalComma) {
  UserLocale comma = DecimalComma();
  EXPECT_EQ(ReadNumber("1,5", comma), 1.5);
  EXPECT_EQ(ReadNumber("1.234,5", comma), 1234.5);
  EXPECT_EQ(ReadNumber("1,5E2", comma), 150);
  EXPECT_EQ(ReadNumber("1.5", comma), 15);
  EXPECT_EQ(ReadNumber("1,2,3", comma), std::nullopt);
}

TEST(ReadNumber, RejectsWhatIsNoNumber) {
  for (const char* text :
       {"",   "   ", "\t", "abc", "1a", "a1", "--1",  "+-1",   "1-",    "0x10", "&H10", "1 2",
        "1e", "1e+", "e5", ".",   "-",  "+",  "1..2", "1.2.3", "1E5.5", "(5)",  "5%",   "1e400"}) {
    EXPECT_EQ(ReadNumber(text, kDefault), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace tavrin
