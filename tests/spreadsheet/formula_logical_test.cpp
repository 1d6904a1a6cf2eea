#include "formula_fixture.h"

namespace tavrin {
namespace {

using FormulaLogicalTest = FormulaTest;

TEST_F(FormulaLogicalTest, TheTextsTrueAndFalseAreLogicalValues) {
  EXPECT_EQ(Eval("=IF(\"TRUE\",1,2)"), Variant(1));
  EXPECT_EQ(Eval("=IF(\"false\",1,2)"), Variant(2));
  EXPECT_EQ(Eval("=NOT(\"FALSE\")"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=AND(TRUE,\"TRUE\")"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=OR(FALSE,\"false\")"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=SUM(IF({\"TRUE\",\"FALSE\"},1,2))"), Variant(3));
}

TEST_F(FormulaLogicalTest, NumberTextsAreNoLogicalValues) {
  EXPECT_EQ(Eval("=IF(\"1\",1,2)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=NOT(\"0\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=AND(TRUE,\"1\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=IF(\"\",1,2)"), Variant(ErrorValue::Value));
  Set("A1", "'1");
  EXPECT_EQ(Eval("=AND(TRUE,A1:A2)"), Variant::Boolean(true)) << "texts in ranges are passed over";
}

TEST_F(FormulaLogicalTest, EveryValueCountsAndErrorsPassThrough) {
  EXPECT_EQ(Eval("=AND(TRUE,FALSE)"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=OR(TRUE,FALSE)"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=AND(TRUE,#N/A)"), Variant(ErrorValue::NA));
  Set("A1", "x");
  Set("A2", Variant::Boolean(false));
  Set("A3", 0);
  EXPECT_EQ(Eval("=AND(A1:A2)"), Variant::Boolean(false));  // past the text
  EXPECT_EQ(Eval("=OR(A3)"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=IF(TRUE,,2)"), Variant(0));
  EXPECT_EQ(Eval("=IFERROR(1/0,)"), Variant(0));
  EXPECT_EQ(Eval("=SUM(IF({1,\"x\"},1,2))"), Variant(ErrorValue::Value));
}

}  // namespace
}  // namespace tavrin
