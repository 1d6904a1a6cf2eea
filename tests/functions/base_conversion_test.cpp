#include <gtest/gtest.h>

#include "component/korvel.h"
#include "support/scripted_runtime.h"

namespace tavrin {
namespace {

const char* const kBase = "错误，进制位为 2-16 之间的数值 ！";
const char* const kIllegal = "在该进制下，参数中含有非法字符";

class BaseConversion : public ::testing::Test {
 protected:
  ScriptedRuntime runtime;
  Korvel korvel{runtime};  // no CSH: the functions need none
};

TEST_F(BaseConversion, DecimalToOtherBases) {
  EXPECT_EQ(korvel.DecTo(10, 2), Variant("1010"));
  EXPECT_EQ(korvel.DecTo(10, 2, 4), Variant("1010"));
  EXPECT_EQ(korvel.DecTo(5, 2, 4), Variant("0101"));
  EXPECT_EQ(korvel.DecTo(255, 16), Variant("FF"));
  EXPECT_EQ(korvel.DecTo(255, 2, 3), Variant("011,111,111"));
  EXPECT_EQ(korvel.DecTo(5, 2, 1), Variant("1,0,1"));
  EXPECT_EQ(korvel.DecTo(5, 2, 8), Variant("00000101"));
  EXPECT_EQ(korvel.DecTo(5, 2, 3), Variant("101")) << "a group as long as the digits";
  EXPECT_EQ(korvel.DecTo(0, 16), Variant("0"));
  EXPECT_EQ(korvel.DecTo(4294967295.0, 16, 4), Variant("FFFF,FFFF"));
}

TEST_F(BaseConversion, DecimalNormalisation) {
  EXPECT_EQ(korvel.DecTo(12.5, 2), Variant("1101")) << "rounded half away from zero";
  EXPECT_EQ(korvel.DecTo(Variant("1,234"), 10), Variant(1234));
  EXPECT_EQ(korvel.DecTo(Variant(" 42 "), 16), Variant("2A"));
  EXPECT_EQ(korvel.DecTo(Variant("1E3"), 10), Variant(1000));
  EXPECT_EQ(korvel.DecTo(Variant(""), 2), Variant("0"));
  EXPECT_EQ(korvel.DecTo(Variant(), 10), Variant(0));
  EXPECT_EQ(korvel.DecTo(Variant("0012"), 10), Variant(12));
}

TEST_F(BaseConversion, DecimalRejects) {
  EXPECT_EQ(korvel.DecTo(-5, 2), Variant(kIllegal)) << "the minus sign is no digit";
  EXPECT_EQ(korvel.DecTo(Variant("12x"), 2), Variant(kIllegal));
  EXPECT_EQ(korvel.DecTo(Variant::Boolean(true), 2), Variant(kIllegal));
  EXPECT_EQ(korvel.DecTo(Variant(ErrorValue::NA), 2), Variant(kIllegal));
  EXPECT_EQ(korvel.DecTo(10, 1), Variant(kBase));
  EXPECT_EQ(korvel.DecTo(10, 17), Variant(kBase));
  EXPECT_EQ(korvel.DecTo(Variant("abc"), 0), Variant(kBase)) << "the base is examined first";
}

TEST_F(BaseConversion, GroupSizeBelowOneOrNotANumberMeansNoGrouping) {
  EXPECT_EQ(korvel.DecTo(255, 2, 0), Variant("11111111"));
  EXPECT_EQ(korvel.DecTo(255, 2, -3), Variant("11111111"));
  EXPECT_EQ(korvel.DecTo(255, 2, Variant("x")), Variant("11111111"));
  EXPECT_EQ(korvel.DecTo(255, 10, 3), Variant(255)) << "base 10 ignores grouping";
}

TEST_F(BaseConversion, ToDecimal) {
  EXPECT_EQ(korvel.ToDec(Variant("ff"), 16), Variant(255));
  EXPECT_EQ(korvel.ToDec(Variant("1111,1111"), 2), Variant(255));
  EXPECT_EQ(korvel.ToDec(Variant("1，0"), 2), Variant(2)) << "full-width comma";
  EXPECT_EQ(korvel.ToDec(Variant("0010"), 2), Variant(2));
  EXPECT_EQ(korvel.ToDec(Variant("1E5"), 16), Variant(1048576)) << "read as 100000 first";
  EXPECT_EQ(korvel.ToDec(777, 8), Variant(511));
  EXPECT_EQ(korvel.ToDec(Variant("0"), 2), Variant()) << "all zeros give no value";
  EXPECT_EQ(korvel.ToDec(Variant("000"), 16), Variant());
  EXPECT_EQ(korvel.ToDec(Variant(""), 2), Variant(""));
  EXPECT_EQ(korvel.ToDec(Variant(""), 99), Variant("")) << "an empty text before the base";
  EXPECT_EQ(korvel.ToDec(Variant("12"), 2), Variant(kIllegal));
  EXPECT_EQ(korvel.ToDec(Variant("G"), 16), Variant(kIllegal));
  EXPECT_EQ(korvel.ToDec(Variant("十"), 16), Variant(kIllegal));
  EXPECT_EQ(korvel.ToDec(Variant("1"), 1), Variant(kBase));
}

TEST_F(BaseConversion, BaseToBaseChainsAndPassesMessagesOn) {
  EXPECT_EQ(korvel.BaseToBase(Variant("FF"), 16, 2, 4), Variant("1111,1111"));
  EXPECT_EQ(korvel.BaseToBase(Variant("255"), 10, 16), Variant("FF"));
  EXPECT_EQ(korvel.BaseToBase(Variant("11"), 2, 10), Variant(3));
  EXPECT_EQ(korvel.BaseToBase(Variant("0"), 2, 16), Variant("0"));
  EXPECT_EQ(korvel.BaseToBase(Variant("Z"), 16, 2), Variant(kIllegal));
  EXPECT_EQ(korvel.BaseToBase(Variant("1"), 17, 2), Variant(kIllegal))
      << "the base message from the first step is no digit text";
  EXPECT_EQ(korvel.BaseToBase(Variant("1"), 17, 17), Variant(kBase));
}

TEST_F(BaseConversion, LargeNumbersKeepTheirDigitsUpToTwoToThe53) {
  EXPECT_EQ(korvel.DecTo(9007199254740992.0, 16), Variant("20000000000000"));
  EXPECT_EQ(korvel.ToDec(Variant("1FFFFFFFFFFFFF"), 16), Variant(9007199254740991.0));
}

TEST_F(BaseConversion, LongInputsKeepEveryDigitAndNumbersPastADoubleAreBadInput) {
  EXPECT_EQ(korvel.ToDec(Variant("10101010101010101010"), 2), Variant(699050));
  EXPECT_EQ(korvel.ToDec(Variant(std::string(64, '1')), 2), Variant(18446744073709551616.0));
  EXPECT_EQ(korvel.ToDec(Variant("12345678901234567"), 16), Variant(20988295476557332480.0))
      << "hexadecimal digits that look decimal are not rounded as a decimal first";
  EXPECT_EQ(korvel.BaseToBase(Variant(std::string(40, '1')), 2, 16), Variant("FFFFFFFFFF"));
  std::string huge = "1" + std::string(400, '0');
  EXPECT_EQ(korvel.DecTo(Variant(huge), 16), Variant(kIllegal));
  EXPECT_EQ(korvel.DecTo(Variant(huge), 10), Variant(kIllegal));
  EXPECT_EQ(korvel.DecTo(Variant("1E400"), 2), Variant(kIllegal));
  EXPECT_EQ(korvel.ToDec(Variant(std::string(300, 'F')), 16), Variant(kIllegal));
  EXPECT_EQ(korvel.BaseToBase(Variant(std::string(2000, '1')), 2, 10), Variant(kIllegal));
  EXPECT_EQ(korvel.DecTo(5, 2, 1e300), Variant(kIllegal)) << "a group no text can hold";
}

TEST_F(BaseConversion, BlanksAroundDigitsAreIgnoredBlanksInsideAndSignsAreNot) {
  EXPECT_EQ(korvel.ToDec(Variant(" 1010\t"), 2), Variant(10));
  EXPECT_EQ(korvel.ToDec(Variant("10 10"), 2), Variant(kIllegal));
  EXPECT_EQ(korvel.ToDec(Variant("-1010"), 2), Variant(kIllegal));
}

}  // namespace
}  // namespace tavrin
