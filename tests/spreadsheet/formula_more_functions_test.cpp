#include "formula_fixture.h"

namespace tavrin {
namespace {

// Functions users' sheets commonly hold, beyond the ones the tools write.
class FormulaMoreFunctionsTest : public FormulaTest {
 protected:
  // A1:A8: 2, 4, 4, 4, 5, 5, 7, 9 (a mean of 5, a population deviation of 2).
  void SetUp() override {
    const double data[] = {2, 4, 4, 4, 5, 5, 7, 9};
    for (int r = 1; r <= 8; ++r) sheet.Cells(r, 1).SetValue(Variant(data[r - 1]));
  }
};

TEST_F(FormulaMoreFunctionsTest, WholeNumbersAndMultiples) {
  EXPECT_EQ(Eval("=MROUND(10,3)&\"|\"&MROUND(-10,-3)&\"|\"&MROUND(1.5,1)"), Variant("9|-9|2"));
  EXPECT_EQ(Eval("=MROUND(5,-2)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=MROUND(5,0)&\"|\"&MROUND(0,-2)"), Variant("0|0")) << "zero before signs";
  EXPECT_EQ(Eval("=GCD(24,36)&\"|\"&LCM(4,6)&\"|\"&QUOTIENT(-7,2)"), Variant("12|12|-3"));
  EXPECT_EQ(Eval("=GCD(-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=FACT(5)+COMBIN(5,2)+SUMSQ(3,4)+SIGN(-3)"), Variant(120 + 10 + 25 - 1));
  EXPECT_EQ(Eval("=FACT(-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=COMBIN(5,0)"), Variant(1));
  EXPECT_EQ(Eval("=COMBIN(5,5)+COMBIN(0,0)+FACT(0)+SIGN(0)"), Variant(3));
  EXPECT_EQ(Eval("=COMBIN(2,3)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=COMBIN(5,-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=FACT(170)>7E306"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=FACT(171)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=GCD(0,6)&\"|\"&LCM(0,0)"), Variant("6|0"));
  EXPECT_EQ(Eval("=GCD(2^53)"), Variant(ErrorValue::Num));  // past whole numbers held exactly
  EXPECT_EQ(Eval("=GCD(4,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=SUMSQ(3,#N/A)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=ISEVEN(2.5)&ISODD(-3)&ISODD(4)"), Variant("TRUETRUEFALSE"));
  EXPECT_EQ(Eval("=ISEVEN(\"x\")"), Variant(ErrorValue::Value));
}

TEST_F(FormulaMoreFunctionsTest, LogarithmsAndConstants) {
  EXPECT_EQ(Eval("=LOG(8,2)+LOG(100)+LOG10(1000)+ROUND(LN(EXP(2)),12)"), Variant(3 + 2 + 3 + 2));
  EXPECT_EQ(Eval("=LOG(0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=LOG(5,1)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=LOG(5,0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=LN(0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=LOG10(0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=SUMPRODUCT(ISERROR(LN({0,1}))+ISERROR(LOG10({0,1}))*10)"), Variant(11))
      << "in an array too";
  EXPECT_EQ(Eval("=ROUND(PI(),5)"), Variant(3.14159));
  EXPECT_EQ(Eval("=AND(RAND()>=0,RAND()<1,RANDBETWEEN(3,3)=3)"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=RANDBETWEEN(5,1)"), Variant(ErrorValue::Num));
}

TEST_F(FormulaMoreFunctionsTest, SpreadAndPositions) {
  EXPECT_EQ(Eval("=STDEVP(A1:A8)&\"|\"&VARP(A1:A8)&\"|\"&MODE(A1:A8)"), Variant("2|4|4"));
  EXPECT_EQ(Eval("=VAR(A1:A8)*7"), Variant(32));
  EXPECT_EQ(Eval("=ROUND(STDEV(A1:A8)^2*7,10)"), Variant(32));
  EXPECT_EQ(Eval("=VAR(1)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=MODE(1,2,3)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=PERCENTILE(A1:A8,0.5)&\"|\"&QUARTILE(A1:A8,1)&\"|\"&QUARTILE(A1:A8,4)"),
            Variant("4.5|4|9"));
  EXPECT_EQ(Eval("=PERCENTILE(A1:A8,1.5)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=PERCENTILE(A1:A8,0)&\"|\"&VARP(5)&\"|\"&STDEV(1,3)^2&\"|\"&MODE(1,2,2,1)"),
            Variant("2|0|2|1"));  // the first of equally frequent numbers
  EXPECT_EQ(Eval("=PERCENTILE(A1:A8,-0.1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=PERCENTILE(C1:C2,0.5)"), Variant(ErrorValue::Num));  // no numbers
  EXPECT_EQ(Eval("=PERCENTILE(A1:A8,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=PERCENTILE(1/0,0.5)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=STDEV(1,#N/A)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=MODE(1,1,#N/A)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=FREQUENCY(A1:A8,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=INDEX(FREQUENCY(A1:A8,{4;6}),1)&INDEX(FREQUENCY(A1:A8,{4;6}),2)&"
                 "INDEX(FREQUENCY(A1:A8,{4;6}),3)"),
            Variant("422"));
}

TEST_F(FormulaMoreFunctionsTest, SubtotalsPassOverSubtotalsAndHiddenRows) {
  Set("A9", "=SUBTOTAL(9,A1:A8)");
  EXPECT_EQ(Get("A9"), Variant(40));
  EXPECT_EQ(Eval("=SUBTOTAL(9,A1:A9)"), Variant(40)) << "the subtotal in A9 is passed over";
  EXPECT_EQ(Eval("=SUBTOTAL(1,A:A)&\"|\"&SUBTOTAL(2,A:A)&\"|\"&SUBTOTAL(4,A:A)"), Variant("5|8|9"));
  EXPECT_EQ(Eval("=SUBTOTAL(11,A1:A8)&\"|\"&SUBTOTAL(111,A1:A8)"), Variant("4|4"));  // VARP
  sheet.EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(8, {.hidden = true}); });
  EXPECT_EQ(Eval("=SUBTOTAL(109,A1:A8)&\"|\"&SUBTOTAL(9,A1:A8)"), Variant("31|40"));
  EXPECT_EQ(Eval("=SUBTOTAL(12,A1:A8)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SUBTOTAL(9,5)"), Variant(ErrorValue::Value)) << "references only";
  EXPECT_EQ(Eval("=SUBTOTAL(1/0,A1:A8)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=SUBTOTAL(4,C1:C2)&\"|\"&SUBTOTAL(5,C1:C2)"), Variant("0|0"));  // no numbers
  EXPECT_EQ(Eval("=SUBTOTAL(1,C1:C2)"), Variant(ErrorValue::Div0));
  Set("B1", "=ROUND(7,0)");  // a formula, but no subtotal
  Set("B2", Variant::Date(2));
  EXPECT_EQ(Eval("=SUBTOTAL(9,B1:B2)"), Variant(9));
  Set("B3", "=1/0");
  Set("B4", "=NA()");
  EXPECT_EQ(Eval("=SUBTOTAL(2,B1:B4)&\"|\"&SUBTOTAL(3,B1:B4)"), Variant("2|4"));
  EXPECT_EQ(Eval("=SUBTOTAL(9,B1:B4)"), Variant(ErrorValue::Div0));  // the first error
}

TEST_F(FormulaMoreFunctionsTest, ConversionsOfValues) {
  EXPECT_EQ(Eval("=N(5)+N(\"x\")+N(TRUE)"), Variant(6));
  EXPECT_EQ(Eval("=T(\"a\")&T(1)"), Variant("a"));
  EXPECT_EQ(Eval("=DATEVALUE(\"2024-1-5\")"), Variant(45296));
  EXPECT_EQ(Eval("=TIMEVALUE(\"13:30\")"), Variant(0.5625));
  EXPECT_EQ(Eval("=DATEVALUE(\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=FIXED(1234.567)&\"|\"&FIXED(1234.567,1,TRUE)&\"|\"&FIXED(1234.567,-2)"),
            Variant("1,234.57|1234.6|1,200"));
  EXPECT_EQ(Eval("=LEN(FIXED(1,127))"), Variant(129)) << "127 places at most";
  EXPECT_EQ(Eval("=FIXED(1,128)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=RMB(-1234.5)&\"|\"&DOLLAR(1234.5,0)"), Variant("¥-1,234.50|¥1,235"));
  EXPECT_EQ(Eval("=CLEAN(\"a\"&CHAR(9)&\"b\")"), Variant("ab"));
  EXPECT_EQ(Eval("=CLEAN(\"a b\")"), Variant("a b"));
  EXPECT_EQ(Eval("=N(DATE(2024,1,5))&\"|\"&T(1)&\"|\"&FIXED(1234.567,0)"), Variant("45296||1,235"));
  EXPECT_EQ(Eval("=TIMEVALUE(\"0:00\")+DATEVALUE(\"9999-12-31\")"), Variant(2958465));
  for (const char* text : {"=DATEVALUE(45000)", "=DATEVALUE(\"-1\")", "=DATEVALUE(\"50%\")",
                           "=FIXED(\"x\")", "=FIXED(1,\"x\")"}) {
    EXPECT_EQ(Eval(text), Variant(ErrorValue::Value)) << text;
  }
  for (const char* text :
       {"=N(NA())", "=T(NA())", "=DATEVALUE(NA())", "=FIXED(1,2,NA())", "=CLEAN(NA())"}) {
    EXPECT_EQ(Eval(text), Variant(ErrorValue::NA)) << text;
  }
  EXPECT_EQ(Eval("=ISERR(1)&ISNA(1)&ISNUMBER(DATE(2024,1,5))"), Variant("FALSEFALSETRUE"));
}

TEST_F(FormulaMoreFunctionsTest, WeeksAndWorkingDays) {
  EXPECT_EQ(Eval("=WEEKNUM(DATE(2024,1,6))&WEEKNUM(DATE(2024,1,7))&WEEKNUM(DATE(2024,1,7),2)"),
            Variant("121"));
  EXPECT_EQ(Eval("=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,31))"), Variant(23));
  EXPECT_EQ(Eval("=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,31),{45292,45293})"), Variant(21));
  EXPECT_EQ(Eval("=NETWORKDAYS(DATE(2024,1,31),DATE(2024,1,1))"), Variant(-23));
  EXPECT_EQ(Eval("=WORKDAY(DATE(2024,1,5),1)"), Variant::Date(45299));
  EXPECT_EQ(Eval("=WORKDAY(DATE(2024,1,8),-1)"), Variant::Date(45296));
  EXPECT_EQ(Eval("=WORKDAY(DATE(2024,1,5),1,DATE(2024,1,8))"), Variant::Date(45300));
}

TEST_F(FormulaMoreFunctionsTest, AddressesAsTexts) {
  EXPECT_EQ(Eval("=ADDRESS(2,3)&\"|\"&ADDRESS(2,3,4)&\"|\"&ADDRESS(2,3,2,FALSE)"),
            Variant("$C$2|C2|R2C[3]"));
  EXPECT_EQ(Eval("=ADDRESS(1,1,1,TRUE,\"My sheet\")"), Variant("'My sheet'!$A$1"));
  EXPECT_EQ(Eval("=ADDRESS(1,300)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(0,1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(65536,256)&\"|\"&ADDRESS(1,1,2)&\"|\"&ADDRESS(2,3,3)"),
            Variant("$IV$65536|A$1|$C2"));
  EXPECT_EQ(Eval("=ADDRESS(2,3,)&\"|\"&ADDRESS(2,3,1,)&\"|\"&ADDRESS(2,3,1,TRUE,)"),
            Variant("$C$2|$C$2|$C$2"));
  EXPECT_EQ(Eval("=ADDRESS(1,1,4,FALSE)&\"|\"&ADDRESS(1,1,3,FALSE)"), Variant("R[1]C[1]|R[1]C1"));
  EXPECT_EQ(Eval("=ADDRESS(65537,1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(1,257)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(1,0)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(1,1,0)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(1,1,5)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(\"x\",1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=ADDRESS(1,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=ADDRESS(1,1,1,TRUE,\"Data_2\")"), Variant("Data_2!$A$1"));
  EXPECT_EQ(Eval("=ADDRESS(1,1,1,TRUE,\"汇总\")"), Variant("汇总!$A$1"));
  EXPECT_EQ(Eval("=ADDRESS(1,1,1,TRUE,\"Bob's\")"), Variant("'Bob''s'!$A$1"));
}

}  // namespace
}  // namespace tavrin
