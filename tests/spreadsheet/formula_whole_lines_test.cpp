#include "sheet_fixture.h"

namespace tavrin {
namespace {

// Whole columns and rows in array arithmetic (array formulas, and SUMPRODUCT's arguments):
// computed over the cells with content, the empty rows below them counted, never built one by
// one.
class FormulaWholeLinesTest : public SheetTest {
 protected:
  void SetUp() override {
    Set("B1", 1);
    Set("C1", 2);
    Set("A3", 10);
    Set("B3", 20);
    Set("C3", 30);
  }
  Variant Eval(const char* formula) {
    Set("H10", formula);
    return Get("H10");
  }
};

TEST_F(FormulaWholeLinesTest, AWholeRowAgainstWholeColumnsAnswersFromItsCorner) {
  EXPECT_EQ(Eval("{=B:C+3:3}"), Variant(11));  // B1 + A3
  EXPECT_EQ(Eval("=SUMPRODUCT(B:C*1)"), Variant(53));
  EXPECT_EQ(Eval("=SUMPRODUCT(ISERROR(B:C+3:3)*1)"), Variant(65536.0 * 254));  // past C: #N/A
  EXPECT_EQ(Eval("{=SUM(B:C+3:3)}"), Variant(ErrorValue::NA));
}

TEST_F(FormulaWholeLinesTest, TheEmptyRowsBelowTheContentCountEachTime) {
  EXPECT_EQ(Eval("=SUMPRODUCT((A:A=\"\")*1)"), Variant(65535));
  EXPECT_EQ(Eval("=SUMPRODUCT(IF(B:B=\"\",1,0))"), Variant(65534));
  EXPECT_EQ(Eval("=SUMPRODUCT(--(A1:A10=\"\"),ROW(A1:A10))"), Variant(52));  // all rows but 3
  EXPECT_EQ(Eval("{=MATCH(TRUE,A1:A100=\"\",0)}"), Variant(1));
  EXPECT_EQ(Eval("{=MATCH(FALSE,B1:B100=\"\",0)}"), Variant(1));
  EXPECT_EQ(Eval("{=MATCH(TRUE,B3:B100=\"\",0)}"), Variant(2));
  EXPECT_EQ(Eval("{=MATCH(1,(B2:B100=\"\")*1,1)}"), Variant(99));  // the last of a sorted tail
}

TEST_F(FormulaWholeLinesTest, ABlockPastWhatTheEngineHoldsIsANumError) {
  EXPECT_EQ(Eval("=SUMPRODUCT(ROW(A:A)*(1:1=1))"), Variant(ErrorValue::Num));
}

}  // namespace
}  // namespace tavrin
