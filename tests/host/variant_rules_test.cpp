#include <gtest/gtest.h>

#include <functional>

#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {
namespace {

const UserLocale kDefaultLocale;

// Runs the call and expects the runtime's type mismatch.
void ExpectTypeMismatch(const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no type mismatch";
  } catch (const HostError& error) {
    EXPECT_EQ(error.Number(), 13);
    EXPECT_EQ(error.Description(), "类型不匹配");
  }
}

TEST(TextOf, ConvertsEveryKindAsTheRuntimeDoes) {
  EXPECT_EQ(TextOf(Variant(), kDefaultLocale), "");
  EXPECT_EQ(TextOf(Variant::Boolean(true), kDefaultLocale), "True");
  EXPECT_EQ(TextOf(Variant::Boolean(false), kDefaultLocale), "False");
  EXPECT_EQ(TextOf(1234.5, kDefaultLocale), "1234.5");
  EXPECT_EQ(TextOf(1e15, kDefaultLocale), "1E+15");
  EXPECT_EQ(TextOf(Variant::Date(46364.5), kDefaultLocale), "2026/12/8 12:00:00");
  EXPECT_EQ(TextOf("  as is ", kDefaultLocale), "  as is ");
  UserLocale comma;
  comma.decimalPoint = ',';
  EXPECT_EQ(TextOf(0.5, comma), "0,5");
}

TEST(TextOf, ErrorValuesHaveNoText) {
  ExpectTypeMismatch([] { TextOf(ErrorValue::NA, kDefaultLocale); });
  ExpectTypeMismatch([] { TextOf(ErrorValue::Div0, kDefaultLocale); });
}

TEST(NumberOf, ConvertsEveryKindAsTheRuntimeDoes) {
  EXPECT_EQ(NumberOf(Variant(), kDefaultLocale), 0);
  EXPECT_EQ(NumberOf(Variant::Boolean(true), kDefaultLocale), -1);
  EXPECT_EQ(NumberOf(Variant::Boolean(false), kDefaultLocale), 0);
  EXPECT_EQ(NumberOf(-2.5, kDefaultLocale), -2.5);
  EXPECT_EQ(NumberOf(Variant::Date(46364.25), kDefaultLocale), 46364.25);
  EXPECT_EQ(NumberOf(" 1,234.5 ", kDefaultLocale), 1234.5);
  ExpectTypeMismatch([] { NumberOf("abc", kDefaultLocale); });
  // A thousands separator stands only between digits.
  for (const char* text : {"1,.5", "1,,000", ",5", "1,", "1 ,000"}) {
    ExpectTypeMismatch([&] { NumberOf(text, kDefaultLocale); });
  }
  ExpectTypeMismatch([] { NumberOf("", kDefaultLocale); });
  ExpectTypeMismatch([] { NumberOf(ErrorValue::Value, kDefaultLocale); });
}

TEST(Val, ReadsTheNumericPrefix) {
  EXPECT_EQ(Val("12abc"), 12);
  EXPECT_EQ(Val(" 1 2 3"), 123);
  EXPECT_EQ(Val("\t4\n5"), 45);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("   "), 0);
  EXPECT_EQ(Val("1.5e2x"), 150);
  EXPECT_EQ(Val("1.5D2"), 150);
  EXPECT_EQ(Val("2e-1"), 0.2);
  EXPECT_EQ(Val("2e"), 2);
  EXPECT_EQ(Val("2ex"), 2);
  EXPECT_EQ(Val("3."), 3);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("-7"), -7);
  EXPECT_EQ(Val("- 7"), -7);
  EXPECT_EQ(Val("+7"), 7);
  EXPECT_EQ(Val("--7"), 0);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("1,234"), 1);
  EXPECT_EQ(Val("1e-400"), 0);
  // An exponent without digits before it is nothing, however large.
  EXPECT_EQ(Val("e5"), 0);
  EXPECT_EQ(Val("-.E999"), 0);
}

TEST(Val, ReadsHexadecimalAndOctalLikeTheRuntimeLiterals) {
  EXPECT_EQ(Val("&H1F"), 31);
  EXPECT_EQ(Val("&h10"), 16);
  EXPECT_EQ(Val("&Ha"), 10);
  EXPECT_EQ(Val("&HAf"), 175);
  EXPECT_EQ(Val("&H1G"), 1);
  EXPECT_EQ(Val("&H"), 0);
  EXPECT_EQ(Val("&O17"), 15);
  EXPECT_EQ(Val("&o78"), 7);
  EXPECT_EQ(Val(" &H 1 F"), 31);
  // Sixteen bits are an Integer, thirty-two a Long.
  EXPECT_EQ(Val("&HFFFF"), -1);
  EXPECT_EQ(Val("&H8000"), -32768);
  EXPECT_EQ(Val("&H10000"), 65536);
  EXPECT_EQ(Val("&HFFFFFFFF"), -1);
  EXPECT_EQ(Val("&O177777"), -1);
  EXPECT_EQ(Val("&X1"), 0);
}

TEST(Val, OverflowsOnNumbersTooBig) {
  // The exponent read decides: what follows it, or an "E-" without digits, does not.
  for (const std::string& text : {std::string("1e400"), std::string("&H100000000"),
                                  std::string("1e400e-5"), std::string(309, '9') + "e-x"}) {
    try {
      Val(text);
      ADD_FAILURE() << text;
    } catch (const HostError& error) {
      EXPECT_EQ(error.Number(), 6) << text;
    }
  }
}

TEST(Add, EmptyTakesTheOtherSide) {
  EXPECT_EQ(Add(Variant(), Variant(), kDefaultLocale), Variant());
  EXPECT_EQ(Add(Variant(), 5, kDefaultLocale), Variant(5));
  EXPECT_EQ(Add(5, Variant(), kDefaultLocale), Variant(5));
  EXPECT_EQ(Add(Variant(), "abc", kDefaultLocale), Variant("abc"));
  EXPECT_EQ(Add("abc", Variant(), kDefaultLocale), Variant("abc"));
  EXPECT_EQ(Add(Variant(), Variant::Date(10), kDefaultLocale), Variant::Date(10));
  // A Boolean comes out as its number.
  EXPECT_EQ(Add(Variant(), Variant::Boolean(true), kDefaultLocale), Variant(-1));
  EXPECT_EQ(Add(Variant::Boolean(false), Variant(), kDefaultLocale), Variant(0));
}

TEST(Add, NumbersAddAndTextsJoin) {
  EXPECT_EQ(Add(2, 3.5, kDefaultLocale), Variant(5.5));
  EXPECT_EQ(Add("ab", "cd", kDefaultLocale), Variant("abcd"));
  EXPECT_EQ(Add("1", "2", kDefaultLocale), Variant("12"));
  EXPECT_EQ(Add("", "", kDefaultLocale), Variant(""));
}

TEST(Add, NumberAndNumericTextAddInEitherOrder) {
  EXPECT_EQ(Add(5, "12", kDefaultLocale), Variant(17));
  EXPECT_EQ(Add("12", 5, kDefaultLocale), Variant(17));
  EXPECT_EQ(Add(1, " 1,000.5 ", kDefaultLocale), Variant(1001.5));
  EXPECT_EQ(Add(Variant::Boolean(true), "3", kDefaultLocale), Variant(2));
  UserLocale comma;
  comma.decimalPoint = ',';
  comma.thousandsSeparator = '.';
  EXPECT_EQ(Add(1, "0,5", comma), Variant(1.5));
}

TEST(Add, NumberAndOtherTextOrAnErrorValueMismatch) {
  ExpectTypeMismatch([] { Add(5, "abc", kDefaultLocale); });
  ExpectTypeMismatch([] { Add("abc", 5, kDefaultLocale); });
  ExpectTypeMismatch([] { Add(5, "", kDefaultLocale); });
  ExpectTypeMismatch([] { Add(Variant::Boolean(true), "x", kDefaultLocale); });
  ExpectTypeMismatch([] { Add(ErrorValue::NA, 5, kDefaultLocale); });
  ExpectTypeMismatch([] { Add(5, ErrorValue::NA, kDefaultLocale); });
  ExpectTypeMismatch([] { Add(Variant(), ErrorValue::Ref, kDefaultLocale); });
  ExpectTypeMismatch([] { Add(ErrorValue::Value, Variant(), kDefaultLocale); });
  ExpectTypeMismatch([] { Add("a", ErrorValue::NA, kDefaultLocale); });
}

TEST(Add, ASumPastTheRangeOfNumbersOverflows) {
  try {
    Add(1e308, "1E308", kDefaultLocale);
    ADD_FAILURE() << "no overflow";
  } catch (const HostError& error) {
    EXPECT_EQ(error.Number(), 6);
    EXPECT_EQ(error.Description(), "溢出");
  }
}

TEST(Add, BooleansCountMinusOneOrZero) {
  EXPECT_EQ(Add(Variant::Boolean(true), 10, kDefaultLocale), Variant(9));
  EXPECT_EQ(Add(10, Variant::Boolean(false), kDefaultLocale), Variant(10));
  EXPECT_EQ(Add(Variant::Boolean(true), Variant::Boolean(true), kDefaultLocale), Variant(-2));
}

TEST(Add, DatesStayDates) {
  EXPECT_EQ(Add(Variant::Date(46364), 1, kDefaultLocale), Variant::Date(46365));
  EXPECT_EQ(Add(0.5, Variant::Date(46364), kDefaultLocale), Variant::Date(46364.5));
  EXPECT_EQ(Add(Variant::Date(1), Variant::Date(2), kDefaultLocale), Variant::Date(3));
  EXPECT_EQ(Add(Variant::Date(46364), "2", kDefaultLocale), Variant::Date(46366));
  EXPECT_EQ(Add(Variant::Date(46364), Variant::Boolean(true), kDefaultLocale),
            Variant::Date(46363));
  ExpectTypeMismatch([] { Add(Variant::Date(46364), "x", kDefaultLocale); });
}

TEST(CompareWithNumber, ComparesEveryKindAsItsNumber) {
  EXPECT_EQ(CompareWithNumber(Variant(), 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber(Variant::Boolean(false), 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber(Variant::Boolean(true), 0, kDefaultLocale), -1);
  EXPECT_EQ(CompareWithNumber(Variant::Boolean(true), -1, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber(0, 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber(3, 0, kDefaultLocale), 1);
  EXPECT_EQ(CompareWithNumber(-0.001, 0, kDefaultLocale), -1);
  EXPECT_EQ(CompareWithNumber(Variant::Date(0), 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber(Variant::Date(46364), 0, kDefaultLocale), 1);
  EXPECT_EQ(CompareWithNumber(" 0 ", 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber("0.00", 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber("00", 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber("-0", 0, kDefaultLocale), 0);
  EXPECT_EQ(CompareWithNumber("1,000", 999, kDefaultLocale), 1);
}

TEST(CompareWithNumber, OtherTextsAndErrorValuesMismatch) {
  ExpectTypeMismatch([] { CompareWithNumber("abc", 0, kDefaultLocale); });
  ExpectTypeMismatch([] { CompareWithNumber("", 0, kDefaultLocale); });
  ExpectTypeMismatch([] { CompareWithNumber("0 0", 0, kDefaultLocale); });
  ExpectTypeMismatch([] { CompareWithNumber(ErrorValue::NA, 0, kDefaultLocale); });
}

}  // namespace
}  // namespace tavrin
