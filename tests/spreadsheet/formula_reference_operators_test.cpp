#include "formula_fixture.h"

namespace tavrin {
namespace {

// A blank between references intersects them; a comma between references in parentheses
// joins them.
class FormulaReferenceOperatorsTest : public FormulaTest {
 protected:
  void SetUp() override {
    for (int r = 1; r <= 5; ++r) sheet.Cells(r, 2).SetValue(Variant(r == 5 ? 7 : r));
  }
};

TEST_F(FormulaReferenceOperatorsTest, ABlankIntersects) {
  EXPECT_EQ(Eval("=SUM(B1:B3 B2:B5)"), Variant(5));
  EXPECT_EQ(Eval("=B:B 4:4"), Variant(4));
  EXPECT_EQ(Eval("=SUM(A1:C2 B2:D9 B1:B3)"), Variant(2));
  EXPECT_EQ(Eval("=SUM(B1:B2 B4:B5)"), Variant(ErrorValue::Null));
  EXPECT_EQ(Eval("=SUM(B1 +B2)"), Variant(3)) << "a blank before an operator is a blank";
  EXPECT_EQ(Eval("=SUM(B1:B3 $B$2:$B$5)"), Variant(5));
  EXPECT_EQ(Eval("=SUM(B1:B3 'Sheet1'!B2:B5)"), Variant(5));
  EXPECT_EQ(Eval("=SUM(B1:B3 (B2:B5))"), Variant(5));
  EXPECT_EQ(Eval("=SUM(B1:B3 #REF!)"), Variant(ErrorValue::Ref));
}

TEST_F(FormulaReferenceOperatorsTest, AColonJoinsWhatNamesCells) {
  EXPECT_EQ(Eval("=SUM((B1:B2):B4)"), Variant(10));
  EXPECT_EQ(ErrorOf([&] { Set("A1", "=SUM(#N/A:B1)"); }), 1004);
  EXPECT_EQ(Eval("=SUM(NoSuch!B1:B2 B1)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=SUM(B1:NoSuch!B2)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(ErrorOf([&] { Set("A1", "=SUM((B1+1,B2))"); }), 1004);
}

TEST_F(FormulaReferenceOperatorsTest, ACommaInParenthesesJoins) {
  EXPECT_EQ(Eval("=SUM((B1:B3,B5))"), Variant(13));
  EXPECT_EQ(Eval("=COUNT((B1,B2:B3,A:A))"), Variant(3));
  EXPECT_EQ(Eval("=MAX((B1:B2,B5),0)"), Variant(7));
  EXPECT_EQ(ErrorOf([&] { Set("A1", "=SUM((B1,2))"); }), 1004) << "only references join";
}

TEST_F(FormulaReferenceOperatorsTest, TextsWriteBackInBothNotations) {
  Set("D1", "=SUM(B1:B3  B2:B5)+SUM((B1:B3, B5))");
  EXPECT_EQ(At("D1").Formula(), "=SUM(B1:B3 B2:B5)+SUM((B1:B3,B5))");
  EXPECT_EQ(At("D1").FormulaR1C1(),
            "=SUM(RC[-2]:R[2]C[-2] R[1]C[-2]:R[4]C[-2])+SUM((RC[-2]:R[2]C[-2],R[4]C[-2]))");
  At("D2").SetFormulaR1C1(At("D1").FormulaR1C1());
  EXPECT_EQ(Get("D2"), Variant(7 + 9)) << "one row down: B3:B4, and B2:B4 with B6";
}

}  // namespace
}  // namespace tavrin
