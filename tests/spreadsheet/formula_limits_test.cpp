#include <string>

#include "sheet_fixture.h"

namespace tavrin {
namespace {

class FormulaLimitsTest : public SheetTest {
 protected:
  // "=" and terms joined by an operator.
  static std::string Chain(const std::string& term, const std::string& op, size_t terms) {
    std::string text = "=" + term;
    for (size_t i = 1; i < terms; ++i) text += op + term;
    return text;
  }
  static std::string Repeat(const std::string& part, size_t times) {
    std::string text;
    for (size_t i = 0; i < times; ++i) text += part;
    return text;
  }
};

TEST_F(FormulaLimitsTest, FormulasPastTheHostsLimitsAreRefusedAndTheCellKeepsItsContent) {
  Set("A1", 5);
  auto refused = [&](const std::string& formula) {
    return ErrorOf([&] { Set("A1", formula.c_str()); }) == 1004 && Get("A1") == Variant(5);
  };
  EXPECT_TRUE(refused("=" + Repeat("(", 2000) + "1" + Repeat(")", 2000)));
  EXPECT_TRUE(refused("=" + Repeat("-", 100000) + "1"));
  EXPECT_TRUE(refused(Chain("1", "+", 200000)));
  EXPECT_TRUE(refused("=" + Repeat("ABS(", 65) + "1" + Repeat(")", 65)));
  EXPECT_TRUE(refused("=" + Repeat("(", 256) + "1" + Repeat(")", 256)));
  EXPECT_TRUE(refused("=" + Repeat("-", 256) + "1")) << "a sign nests as a parenthesis does";
  EXPECT_TRUE(refused("=\"" + std::string(8190, 'x') + "\""));  // 8193 characters
  EXPECT_TRUE(refused("=.+1")) << "a point alone is no number";
  EXPECT_FALSE(refused("=.5+1"));
  EXPECT_EQ(Get("A1"), Variant(1.5));
}

TEST_F(FormulaLimitsTest, FormulasWithinTheLimitsCompute) {
  Set("A1", ("=" + Repeat("ABS(", 64) + "-1" + Repeat(")", 64)).c_str());
  EXPECT_EQ(Get("A1"), Variant(1));
  Set("A2", ("=" + Repeat("(", 255) + "2" + Repeat(")", 255)).c_str());
  EXPECT_EQ(Get("A2"), Variant(2));
  Set("A2", ("=" + Repeat("-", 255) + "2").c_str());
  EXPECT_EQ(Get("A2"), Variant(-2));
  Set("A3", ("=\"" + std::string(8189, 'x') + "\"").c_str());  // 8192 characters
  EXPECT_EQ(Get("A3").AsText().size(), 8189u);
  // Characters, not bytes: 4000 Chinese characters are 12000 bytes.
  Set("A4", ("=\"" + Repeat("汇", 4000) + "\"").c_str());
  EXPECT_EQ(Get("A4").AsText().size(), 12000u);
}

TEST_F(FormulaLimitsTest, TheLongestChainOfOperatorsComputesCopiesAndReadsBack) {
  std::string sum = Chain("1", "+", 4096);  // 8192 characters, its first term 4095 levels down
  Set("B1", sum.c_str());
  EXPECT_EQ(Get("B1"), Variant(4096));
  EXPECT_EQ(At("B1").Formula(), sum);
  At("B1").Copy(At("C1"));
  EXPECT_EQ(Get("C1"), Variant(4096));
  Set("D1", 1);
  Set("B2", Chain("D1", "*", 2048).c_str());
  EXPECT_EQ(Get("B2"), Variant(1));
}

TEST_F(FormulaLimitsTest, ARunningTotalDownTheWholeColumnComputes) {
  sheet.Range("A1:A65536").SetValue(1);
  Set("B1", "=A1");
  Set("B2:B65536", "=B1+A2");
  EXPECT_EQ(Get("B65536"), Variant(65536));
  Set("A1", 2);  // and again after a change
  EXPECT_EQ(Get("B65536"), Variant(65537));
  EXPECT_EQ(Get("B30000"), Variant(30001));
}

TEST_F(FormulaLimitsTest, AChainReadFromTheTopAndAcrossSheetsComputes) {
  Sheet& other = book.AddSheet("Other");
  other.Range("A1").SetValue("=Sheet1!B20000");
  Set("B1", 1);
  Set("B2:B20000", "=B1+1");
  EXPECT_EQ(other.Range("A1").Value(), Variant(20000));
}

TEST_F(FormulaLimitsTest, ALongCircleOfReferencesEndsInsteadOfRecursing) {
  Set("B1", "=B20000+1");
  Set("B2:B20000", "=B1+1");
  EXPECT_TRUE(Get("B1").IsError());
  EXPECT_TRUE(Get("B20000").IsError());
}

TEST_F(FormulaLimitsTest, SumsPastTheRangeOfNumbersAreNumErrors) {
  Set("A1", 1e308);
  Set("A2", 1e308);
  Set("B1", "x");
  Set("B2", "x");
  const Variant num(ErrorValue::Num);
  EXPECT_EQ((Set("C1", "=SUM(A1:A2)"), Get("C1")), num);
  EXPECT_EQ((Set("C2", "=SUMIF(B1:B2,\"x\",A1:A2)"), Get("C2")), num);
  EXPECT_EQ((Set("C3", "=SUMPRODUCT(A1:A2,A1:A2)"), Get("C3")), num);
  EXPECT_EQ((Set("C4", "=SUMPRODUCT((B1:B2=\"x\")*A1:A2)"), Get("C4")), num);
  EXPECT_EQ((Set("C5", "=A1*10"), Get("C5")), num);
  EXPECT_EQ((Set("C6", "=ISERROR(SUM(A1:A2))"), Get("C6")), Variant::Boolean(true));
}

TEST_F(FormulaLimitsTest, ANumericCriterionMatchesTextsThatReadAsThatNumber) {
  Set("A1", "5");
  Set("A2", "x");
  Set("A3", 5);
  Set("B1", "=COUNTIF(A1:A3,5)");
  EXPECT_EQ(Get("B1"), Variant(2));
}

}  // namespace
}  // namespace tavrin
