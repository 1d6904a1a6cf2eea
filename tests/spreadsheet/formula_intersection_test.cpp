#include "sheet_fixture.h"

namespace tavrin {
namespace {

// Outside array formulas, a range where one value is wanted is the cell in the formula's row or
// column, as the host computes it.
class FormulaIntersectionTest : public SheetTest {
 protected:
  void SetUp() override {
    Set("B1", 3);
    Set("B5", 5);
    Set("C1", 7);
  }
};

TEST_F(FormulaIntersectionTest, ARangeTakesTheCellInTheFormulasRow) {
  Set("D5", "=B1:B6*2");
  EXPECT_EQ(Get("D5"), Variant(10));
  Set("D5", "=SUM(B1:B6*2)");
  EXPECT_EQ(Get("D5"), Variant(10));
  Set("D5", "=-B:B");
  EXPECT_EQ(Get("D5"), Variant(-5));
  Set("D9", "=B1:B6*2");
  EXPECT_EQ(Get("D9"), Variant(ErrorValue::Value)) << "no cell of the range in row 9";
  Set("D1", "=B1:B6*2");  // the range's first row
  EXPECT_EQ(Get("D1"), Variant(6));
  Set("D5", "=B1:B5*2");  // its last
  EXPECT_EQ(Get("D5"), Variant(10));
  Set("D5", "=B1:B6");
  EXPECT_EQ(Get("D5"), Variant(5)) << "a range alone as the formula";
  Set("D5", "=B1:C6*2");
  EXPECT_EQ(Get("D5"), Variant(ErrorValue::Value)) << "a range of several rows and columns";
  Set("C9", "=B1:C6*2");
  EXPECT_EQ(Get("C9"), Variant(ErrorValue::Value));
}

TEST_F(FormulaIntersectionTest, ARowRangeTakesTheCellInTheFormulasColumn) {
  Set("C4", "=A1:E1+1");
  EXPECT_EQ(Get("C4"), Variant(8));
  Set("C4", "=LEN(A1:E1)");
  EXPECT_EQ(Get("C4"), Variant(1));
  Set("C4", "=A1:C1+1");  // the range's last column
  EXPECT_EQ(Get("C4"), Variant(8));
  Set("B4", "=B1:E1+1");  // the range's first column
  EXPECT_EQ(Get("B4"), Variant(4));
  Set("D4", "=A1:C1+1");
  EXPECT_EQ(Get("D4"), Variant(ErrorValue::Value)) << "no cell of the range in column D";
}

TEST_F(FormulaIntersectionTest, AWholeColumnDownAColumn) {
  At("E1:E5").SetValue("=$B:$B*2");
  EXPECT_EQ(Get("E1"), Variant(6));
  EXPECT_EQ(Get("E2"), Variant(0));
  EXPECT_EQ(Get("E5"), Variant(10));
}

TEST_F(FormulaIntersectionTest, ArrayFormulasAndArrayArgumentsTakeRangesWhole) {
  Set("D9", "{=SUM(B1:B6*2)}");
  EXPECT_EQ(Get("D9"), Variant(16));
  EXPECT_EQ(At("D9").Formula(), "{=SUM(B1:B6*2)}");
  Set("D5", "{=B1:B6}");
  EXPECT_EQ(Get("D5"), Variant(3)) << "an array formula in one cell shows the range's first value";
  Set("D9", "=SUMPRODUCT(B1:B6*2)");
  EXPECT_EQ(Get("D9"), Variant(16));
  Set("D9", "=LOOKUP(2,1/(B1:B6>0),B1:B6)");
  EXPECT_EQ(Get("D9"), Variant(5));
  Set("D9", "=INDEX((B1:B6>4)*1,5)");
  EXPECT_EQ(Get("D9"), Variant(1));
  Set("D9", "=SUM(B1:B6,{1,2}*2)");
  EXPECT_EQ(Get("D9"), Variant(14)) << "an array constant is an array everywhere";
}

}  // namespace
}  // namespace tavrin
