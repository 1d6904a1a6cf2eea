#include <cmath>

#include "formula_fixture.h"

namespace tavrin {
namespace {

// Numbers in cells count; texts, Booleans and empty cells there are passed over; values typed
// as arguments count when they read as numbers.
class FormulaMathTest : public FormulaTest {
 protected:
  // A1:A6: 1, 2.5, "abc", the text "7", TRUE, -3.
  void SetUp() override {
    Set("A1", 1);
    Set("A2", 2.5);
    Set("A3", "abc");
    Set("A4", "'7");
    Set("A5", Variant::Boolean(true));
    Set("A6", -3);
  }
};

TEST_F(FormulaMathTest, RangesCountTheirNumbersOnlyAndTypedArgumentsWhatReadsAsANumber) {
  EXPECT_EQ(Eval("=SUM(A1:A6)"), Variant(0.5));
  EXPECT_EQ(Eval("=SUM(A1:A6,TRUE,\"2\")"), Variant(3.5));
  EXPECT_EQ(Eval("=SUM(A1:A6,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=PRODUCT(A1:A6)"), Variant(-7.5));
  EXPECT_EQ(Eval("=PRODUCT(A3:A5)"), Variant(0));  // no number at all
  EXPECT_EQ(Eval("=COUNT(A1:A6)"), Variant(3));
  EXPECT_EQ(Eval("=COUNT(A1:A6,TRUE,\"2\",\"x\",#N/A)"), Variant(5));  // errors not counted
  EXPECT_EQ(Eval("=COUNTA(A1:A8,\"\")"), Variant(7));
  EXPECT_EQ(Eval("=COUNTBLANK(A1:A8)"), Variant(2));
  EXPECT_EQ(Eval("=AVERAGE(A1:A6)"), Variant(0.5 / 3));
  EXPECT_EQ(Eval("=AVERAGE(A3:A5)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=MEDIAN(A1:A6)"), Variant(1));
  EXPECT_EQ(Eval("=MEDIAN(A1:A6,10)"), Variant(1.75));
  EXPECT_EQ(Eval("=MEDIAN(A3)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=MAX(A3:A5)+MIN(A1:A6)"), Variant(-3));
  EXPECT_EQ(Eval("=AVERAGE(A1,#N/A)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=MAX(A1,#N/A)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=MEDIAN(A1,#N/A)"), Variant(ErrorValue::NA));
  Set("A7", "=1/0");
  EXPECT_EQ(Eval("=SUM(A1:A7)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=PRODUCT(A1:A7)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=PRODUCT(A1:A6,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=COUNT(A1:A7)"), Variant(3));
}

TEST_F(FormulaMathTest, LargeSmallAndRank) {
  EXPECT_EQ(Eval("=LARGE(A1:A6,1)"), Variant(2.5));
  EXPECT_EQ(Eval("=LARGE(A1:A6,1.2)"), Variant(1));  // k rounded up
  EXPECT_EQ(Eval("=SMALL(A1:A6,1)"), Variant(-3));
  EXPECT_EQ(Eval("=SMALL(A1:A6,4)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=SUMPRODUCT(LARGE(A1:A6,ROW(A1:A2)))"), Variant(3.5));
  EXPECT_EQ(Eval("=RANK(2.5,A1:A6)"), Variant(1));
  EXPECT_EQ(Eval("=RANK(2.5,A1:A6,1)"), Variant(3));
  EXPECT_EQ(Eval("=RANK(2,A1:A6)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=SMALL(A1:A6,3)"), Variant(2.5));
  EXPECT_EQ(Eval("=LARGE(A1:A6,0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=LARGE(A1:A6,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=LARGE(1/0,1)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=RANK(1/0,A1:A6)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=RANK(1,A1:A6,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=RANK(1,5)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=COUNTBLANK(5)"), Variant(ErrorValue::Value));
  Set("B1", 1);
  Set("B2", 1);
  EXPECT_EQ(Eval("=RANK(1,A1:B6)"), Variant(2));  // ties share the rank
  Set("B3", "=NA()");
  EXPECT_EQ(Eval("=RANK(1,A1:B6)"), Variant(ErrorValue::NA));
}

TEST_F(FormulaMathTest, RoundingAsTheHostRounds) {
  EXPECT_EQ(Eval("=ROUND(2.345,2)"), Variant(2.35));  // 15 digits first
  EXPECT_EQ(Eval("=ROUNDUP(2.341,2)"), Variant(2.35));
  EXPECT_EQ(Eval("=ROUNDUP(-2.341,2)"), Variant(-2.35));
  EXPECT_EQ(Eval("=ROUNDDOWN(-2.349,2)"), Variant(-2.34));
  EXPECT_EQ(Eval("=ROUNDUP(1234,-2)"), Variant(1300));
  EXPECT_EQ(Eval("=ROUNDDOWN(1.1*3,1)"), Variant(3.3));
  EXPECT_EQ(Eval("=ROUND(5,-400)"), Variant(0)) << "no power of ten that large";
  EXPECT_EQ(Eval("=ROUND(2.5,400)"), Variant(2.5));
  EXPECT_EQ(Eval("=ROUND(0,400)"), Variant(0));
  EXPECT_EQ(Eval("=ROUND(1E+300,10)"), Variant(1e300)) << "too large to scale: as it is";
  EXPECT_EQ(Eval("=1.23456789012346=1.2345678901235"), Variant::Boolean(false))
      << "the fifteenth digit counts";
  EXPECT_EQ(Eval("=INT(-2.5)"), Variant(-3));
  EXPECT_EQ(Eval("=INT(\"7.9\")"), Variant(7));
  EXPECT_EQ(Eval("=TRUNC(-2.5)"), Variant(-2));
  EXPECT_EQ(Eval("=TRUNC(3.789,1)"), Variant(3.7));
  EXPECT_EQ(Eval("=CEILING(2.5,1)"), Variant(3));
  EXPECT_EQ(Eval("=CEILING(-2.5,-2)"), Variant(-4));
  EXPECT_EQ(Eval("=CEILING(1.1,0.1)"), Variant(1.1));
  EXPECT_EQ(Eval("=FLOOR(2.5,2)"), Variant(2));
  EXPECT_EQ(Eval("=FLOOR(-2.5,-2)"), Variant(-2));
  // A negative number with a positive significance rounds towards plus or minus infinity; a
  // positive number takes no negative significance.
  EXPECT_EQ(Eval("=CEILING(-2.5,2)"), Variant(-2));
  EXPECT_EQ(Eval("=FLOOR(-2.5,2)"), Variant(-4));
  EXPECT_EQ(Eval("=FLOOR(2.5,-2)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=CEILING(5,0)"), Variant(0));
  EXPECT_EQ(Eval("=FLOOR(5,0)"), Variant(ErrorValue::Div0));
}

TEST_F(FormulaMathTest, ModPowerAndSquareRoot) {
  EXPECT_EQ(Eval("=MOD(-7,3)"), Variant(2));  // the divisor's sign
  EXPECT_EQ(Eval("=MOD(7,-3)"), Variant(-2));
  EXPECT_EQ(Eval("=MOD(5.5,1)"), Variant(0.5));
  EXPECT_EQ(Eval("=MOD(1,0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=MOD(2^27,1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=POWER(2,10)"), Variant(1024));
  EXPECT_EQ(Eval("=POWER(0,0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=POWER(0,-1)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=POWER(2,-1)+POWER(0,2)+SQRT(0)+FLOOR(0,0)"), Variant(0.5));
  EXPECT_EQ(Eval("=POWER(-8,1/3)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=POWER(10,400)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=SQRT(16)"), Variant(4));
  EXPECT_EQ(Eval("=SQRT(-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=SUMPRODUCT(SQRT(A1:A2*4))"), Variant(2 + std::sqrt(10.0)));
}

TEST_F(FormulaMathTest, InformationAndErrorTraps) {
  EXPECT_EQ(Eval("=ISNA(NA())&ISERR(NA())&ISERR(1/0)&ISERROR(NA())"), Variant("TRUEFALSETRUETRUE"));
  EXPECT_EQ(Eval("=ISTEXT(A3)&ISTEXT(A1)&ISNONTEXT(A9)&ISNONTEXT(A4)"),
            Variant("TRUEFALSETRUEFALSE"));
  EXPECT_EQ(Eval("=ISLOGICAL(A5)&ISLOGICAL(1)&ISNUMBER(A4)&ISBLANK(A9)"),
            Variant("TRUEFALSEFALSETRUE"));
  EXPECT_EQ(Eval("=IFERROR(1/0,\"none\")"), Variant("none"));
  EXPECT_EQ(Eval("=IFERROR(A3,1/0)"), Variant("abc"));
  EXPECT_EQ(Eval("=SUMPRODUCT(IFERROR(1/A1:A3,0))"), Variant(1.4));
  EXPECT_EQ(Eval("=TRUE()+FALSE()"), Variant(1));
}

TEST_F(FormulaMathTest, AFinalSumWithinTheLastBitsOfZeroIsZero) {
  EXPECT_EQ(Eval("=0.5-0.4-0.1"), Variant(0));
  EXPECT_EQ(Eval("=0.1+0.2-0.3"), Variant(0));
  EXPECT_EQ(Eval("=(0.1+0.2-0.3)"), Variant(0));
  EXPECT_NE(Eval("=1*(0.5-0.4-0.1)"), Variant(0)) << "only the last operation is corrected";
  EXPECT_EQ(Eval("=1E-20-0"), Variant(1E-20)) << "a small number on its own is kept";
}

TEST_F(FormulaMathTest, AWholeNumberAndAFractionReadAsTheirSum) {
  EXPECT_EQ(Eval("=\"15 1/7\"*7"), Variant(106));
  EXPECT_EQ(Eval("=VALUE(\"1 1/2\")"), Variant(1.5));
  EXPECT_EQ(Eval("=VALUE(\"1 1/0\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=VALUE(\"1  1/2\")"), Variant(ErrorValue::Value)) << "one blank between";
}

}  // namespace
}  // namespace tavrin
