#include <gtest/gtest.h>

#include "support/workplace.h"

namespace tavrin {
namespace {

const char* const kBadBase = "错误，进制位为 2-16 之间的数值 ！";

// The conversion functions in cells of the user's workbook, as the host runs an add-in's.
class CellFunctions : public ::testing::Test {
 protected:
  Variant Eval(const std::string& formula) {
    w.sheet().Range("Z1").SetValue(formula);
    return w.At("Z1");
  }
  Workplace w;
};

TEST_F(CellFunctions, CellsConvertBetweenBases) {
  w.Put("A1", {{"ff"}});
  EXPECT_EQ(Eval("=ToDec(A1,16)"), Variant(255));
  EXPECT_EQ(Eval("=todec(A1,\"16\")+1"), Variant(256));
  EXPECT_EQ(Eval("=DecTo(255,2,4)"), Variant("1111,1111"));
  EXPECT_EQ(Eval("=DecTo(\"1,234\",10)"), Variant(1234));
  EXPECT_EQ(Eval("=BaseToBase(A1,16,2)"), Variant("11111111"));
  EXPECT_EQ(Eval("=BaseToBase(\"ff\",16,8,)"), Variant("377"));
  EXPECT_EQ(Eval("=ToDec(\"000\",16)"), Variant(0));  // no value: the cell shows 0
  EXPECT_EQ(w.FormulaAt("Z1"), "=TODEC(\"000\",16)");
}

TEST_F(CellFunctions, WorkbooksSavedInCalcCallThemByTheAddInsNames) {
  EXPECT_EQ(Eval("=ORG.TAVRIN.CONVERSIONFUNCTIONS.TODEC(\"FF\",16)"), Variant(255));
  EXPECT_EQ(Eval("=org.tavrin.conversionfunctions.DecTo(255,2,4)"), Variant("1111,1111"));
  EXPECT_EQ(Eval("=ORG.TAVRIN.CONVERSIONFUNCTIONS.BASETOBASE(\"ff\",16,8)"), Variant("377"));
  EXPECT_EQ(Eval("=ORG.TAVRIN.TODEC(\"FF\",16)"), Variant(ErrorValue::Name));
}

TEST_F(CellFunctions, MessagesAreResultsAndArgumentsTheComponentCannotTakeAreValueErrors) {
  EXPECT_EQ(Eval("=DecTo(5,17)"), Variant(kBadBase));
  EXPECT_EQ(Eval("=ToDec(\"12\",2)"), Variant("在该进制下，参数中含有非法字符"));
  EXPECT_EQ(Eval("=DecTo(5,256)"), Variant(ErrorValue::Value));  // no byte
  EXPECT_EQ(Eval("=DecTo(5,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=DecTo(5,TRUE)"), Variant(ErrorValue::Value));  // -1 to the runtime
  EXPECT_EQ(Eval("=ToDec(\"ff\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ToDec(,16)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=DecTo(#N/A,2)"), Variant("在该进制下，参数中含有非法字符"));
}

}  // namespace
}  // namespace tavrin
