#include "sheet_fixture.h"

namespace tavrin {
namespace {

class FormulaEvalTest : public SheetTest {
 protected:
  Variant Eval(const std::string& formula) {
    Set("Z1", formula.c_str());
    return Get("Z1");
  }
};

TEST_F(FormulaEvalTest, OperatorsFollowTheHostsPrecedence) {
  EXPECT_EQ(Eval("=1+2*3"), Variant(7));
  EXPECT_EQ(Eval("=-2^2"), Variant(4));
  EXPECT_EQ(Eval("=2^3^2"), Variant(64));
  EXPECT_EQ(Eval("=50%*4"), Variant(2));
  EXPECT_EQ(Eval("=1+2&3"), Variant("33"));
  EXPECT_EQ(Eval("=\"a\"&1+2"), Variant("a3")) << "& binds looser than + on either side";
  EXPECT_EQ(Eval("=\"a\"&NA()"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=NA()&\"a\""), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=1+1=2"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=1/0"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=\"a\"+1"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=\" 2 \"*TRUE"), Variant(2));
  EXPECT_EQ(Eval("=\"2024-1-5\"+0"), Variant(45296)) << "a date text reads as its serial";
  EXPECT_EQ(Eval("=-\"x\""), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=NOSUCH(1)"), Variant(ErrorValue::Name));
  EXPECT_EQ(Eval("=#N/A+1"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=IF(NA(),1,2)"), Variant(ErrorValue::NA)) << "an error condition is the answer";
  EXPECT_EQ(Eval("=IF(1/0,1,2)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=0^0"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=0^-1"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=0^2"), Variant(0));
  EXPECT_EQ(Eval("=2^-1"), Variant(0.5));
}

TEST_F(FormulaEvalTest, LiteralsReadAsTheHostReadsThem) {
  EXPECT_EQ(Eval("=1E-3"), Variant(0.001));
  EXPECT_EQ(Eval("=2e3"), Variant(2000));
  EXPECT_EQ(Eval("=#DIV/0!"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=TRUE"), Variant::Boolean(true));
  book.AddSheet("表一").Range("A1").SetValue(3);
  EXPECT_EQ(Eval("=表一!A1"), Variant(3)) << "a sheet name of Chinese characters needs no quotes";
  book.AddSheet("Data_1.2").Range("A1").SetValue(4);
  EXPECT_EQ(Eval("=Data_1.2!A1"), Variant(4));
}

TEST_F(FormulaEvalTest, ComparisonAsTheHostCompares) {
  Set("A1", "Straße");
  EXPECT_EQ(Eval("=A1=\"STRASSE\""), Variant::Boolean(false));  // simple folding only
  EXPECT_EQ(Eval("=\"abc\"=\"ABC\""), Variant::Boolean(true));
  EXPECT_EQ(Eval("=\"XYZ\"=\"xyz\""), Variant::Boolean(true));
  EXPECT_EQ(Eval("=B1=\"\""), Variant::Boolean(true));  // empty equals ""
  EXPECT_EQ(Eval("=B1=0"), Variant::Boolean(true));     // and 0
  EXPECT_EQ(Eval("=B1=FALSE"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=1=\"1\""), Variant::Boolean(false));   // a number never equals a text
  EXPECT_EQ(Eval("=999<\"a\""), Variant::Boolean(true));  // numbers < texts < Booleans
  EXPECT_EQ(Eval("=\"z\"<FALSE"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=\"b\">\"A\""), Variant::Boolean(true));
  // Each comparison at its edge: equal values.
  EXPECT_EQ(Eval("=2>=2"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=2>2"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=2<=2"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=2<2"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=\"a\"<=\"A\""), Variant::Boolean(true));
}

TEST_F(FormulaEvalTest, ArraysBroadcastAndSumProductChecksShapes) {
  FillColumn(1, 1, 3);  // A1:A3 = 1, 2, 3
  Set("B1", 10);
  Set("C1", 100);
  EXPECT_EQ(Eval("=SUMPRODUCT(A1:A3*B1:C1)"), Variant(660));  // a column times a row
  EXPECT_EQ(Eval("=SUMPRODUCT(A1:A3,A1:A3)"), Variant(14));
  EXPECT_EQ(Eval("=SUMPRODUCT(A1:A3,B1:C1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SUMPRODUCT(ISERROR(A1:A3+A1:A2)*1)"), Variant(1));  // outside: #N/A
  EXPECT_EQ(Eval("=SUMPRODUCT((A1:A3>1)*A1:A3)"), Variant(5));
  EXPECT_EQ(Eval("=SUMPRODUCT(A1:A3>1)"), Variant(0));  // Booleans count 0
  EXPECT_EQ(Eval("=SUMPRODUCT(ROW(A2:A4)/ROW(A2:A4))"), Variant(3));
  EXPECT_EQ(Eval("=SUM(COLUMN(B1:D1))"), Variant(9));
}

TEST_F(FormulaEvalTest, FunctionsUsersFilesHold) {
  FillColumn(1, 1, 4);  // 1..4
  Set("B1", "x");
  Set("B2", "Y");
  Set("B3", "x");
  EXPECT_EQ(Get("A1"), Variant(1));
  EXPECT_EQ(Eval("=A1"), Variant(1));
  EXPECT_EQ(Eval("=SUM(A1:A2)"), Variant(3));
  EXPECT_EQ(Eval("=SUM(A1:A4,10,\"5\")"), Variant(25));
  EXPECT_EQ(Eval("=AVERAGE(A1:A4)"), Variant(2.5));
  EXPECT_EQ(Eval("=MIN(A1:A4)+MAX(A1:A4)"), Variant(5));
  EXPECT_EQ(Eval("=ABS(-3)+ROUND(2.345,2)"), Variant(5.35));
  EXPECT_EQ(Eval("=ROUND(-2.5,0)"), Variant(-3));
  EXPECT_EQ(Eval("=AND(TRUE,1)+OR(FALSE,0)+NOT(0)"), Variant(2));
  EXPECT_EQ(Eval("=ISNUMBER(A1)&ISBLANK(C1)&ISERROR(1/0)&LEN(\"汉字ab\")"),
            Variant("TRUETRUETRUE4"));
  EXPECT_EQ(Eval("=COUNTA(A1:B4)"), Variant(7));
  EXPECT_EQ(Eval("=COUNTIF(B1:B4,\"X\")"), Variant(2));
  EXPECT_EQ(Eval("=SUMIF(B1:B4,\"x\",A1:A4)"), Variant(4));
  EXPECT_EQ(Eval("=SUMIF(A1:A4,\">2\")"), Variant(7));
  EXPECT_EQ(Eval("=IF(A1>1,\"big\",\"small\")"), Variant("small"));
  EXPECT_EQ(Eval("=IF(A1>1,\"big\")"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=MATCH(\"y\",B1:B4,0)"), Variant(2));
  EXPECT_EQ(Eval("=MATCH(\"?\",B1:B4,0)"), Variant(1));  // wildcards
  EXPECT_EQ(Eval("=MATCH(\"z\",B1:B4,0)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=MATCH(2.5,A1:A4)"), Variant(2));                   // sorted, largest not above
  EXPECT_EQ(Eval("=MATCH(\"2\",A1:A4,0)"), Variant(ErrorValue::NA));  // no text equals a number
  // A sorted search passes over values of another kind: the texts in column B.
  Set("C1", "1");
  Set("C2", "x");
  Set("C3", "3");
  EXPECT_EQ(Eval("=MATCH(5,C1:C3,1)"), Variant(3));
  EXPECT_EQ(Eval("=LEN(\"a\xF0\x9F\x98\x80\")"), Variant(3));  // a character past U+FFFF counts 2
  EXPECT_EQ(Eval("=INDEX(A1:B4,3,2)"), Variant("x"));
  EXPECT_EQ(Eval("=INDEX(A1:A4,5)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=VLOOKUP(3,A1:B4,2,FALSE)"), Variant("x"));
  EXPECT_EQ(Eval("=VLOOKUP(3.7,A1:B4,2)"), Variant("x"));
  EXPECT_EQ(Eval("=VLOOKUP(9,A1:B4,2,0)"), Variant(ErrorValue::NA));
}

TEST_F(FormulaEvalTest, ResultsAreCachedAndRecomputedAfterAWrite) {
  Set("A1", 1);
  Set("B1", "=A1*2");
  Set("C1", "=B1+Sheet2!A1");
  EXPECT_EQ(Get("C1"), Variant(ErrorValue::Ref));  // no such sheet yet
  Sheet& other = book.AddSheet("Sheet2");
  other.Range("A1").SetValue(5);
  EXPECT_EQ(Get("C1"), Variant(7));
  Set("A1", 10);
  EXPECT_EQ(Get("C1"), Variant(25));
  other.Range("A1").SetValue(0);
  EXPECT_EQ(Get("C1"), Variant(20));
  // A circular reference gives an error value instead of recursing.
  Set("D1", "=E1+1");
  Set("E1", "=D1+1");
  EXPECT_EQ(Get("D1"), Variant(ErrorValue::Ref));
  Set("F1", "=F1");
  EXPECT_EQ(Get("F1"), Variant(ErrorValue::Ref));
  Set("IV2", "=5");  // formulas in the last column, one reading the other
  Set("IV3", "=IV2+1");
  EXPECT_EQ(Get("IV3"), Variant(6));
}

TEST_F(FormulaEvalTest, AFormulaReadFromAFileKeepsItsResultUntilTheSheetChanges) {
  Set("A1", 1);
  sheet.Store().Put(1, 2, Cell{Variant(42), std::make_shared<const CellFormula>("=A1"), 0});
  sheet.Store().Put(1, 4, Cell{Variant(), std::make_shared<const CellFormula>("=A1+1"), 0});
  sheet.SetChanged(false);
  EXPECT_EQ(Get("B1"), Variant(42));
  EXPECT_EQ(Get("D1"), Variant(2)) << "stored without a result: computed";
  EXPECT_EQ(At("B1").FormulaR1C1(), "=RC[-1]");
  Set("C1", 0);
  EXPECT_EQ(Get("B1"), Variant(1));
}

TEST_F(FormulaEvalTest, AutoFillSharesTheTreeAndShiftsRelativeReferences) {
  FillColumn(1, 1, 3);
  Set("B1", "=A1*$A$1");
  Set("C1", 7);
  At("B1:C1").AutoFill(At("B1:C3"));
  EXPECT_EQ(At("B3").Formula(), "=A3*$A$1");
  EXPECT_EQ(Get("B3"), Variant(3));
  EXPECT_EQ(Get("C3"), Variant(7));  // a number copies, no series
  EXPECT_EQ(sheet.Store().Find(3, 2)->formula->tree, sheet.Store().Find(1, 2)->formula->tree);
  At("B1").AutoFill(At("B1:E1"));  // across
  EXPECT_EQ(At("E1").Formula(), "=D1*$A$1");
  At("B3").AutoFill(At("B2:B3"));  // up
  EXPECT_EQ(At("B2").Formula(), "=A2*$A$1");
  // The destination must hold the source and extend it one way.
  EXPECT_EQ(ErrorOf([&] { At("B1").AutoFill(At("C1:C3")); }), 1004);
  EXPECT_EQ(ErrorOf([&] { At("B1").AutoFill(At("B1:C2")); }), 1004);
  EXPECT_EQ(ErrorOf([&] { At("B1:B3").AutoFill(At("B1:B2")); }), 1004) << "the source cut short";
  EXPECT_EQ(ErrorOf([&] { At("B1").AutoFill(At("B1:B3"), XlAutoFillType{2}); }), 1004)
      << "no series";
  Sheet& other = book.AddSheet("Other");
  EXPECT_EQ(ErrorOf([&] { At("B1").AutoFill(other.Range("B1:B3")); }), 1004);
}

TEST_F(FormulaEvalTest, CopyShiftsFormulasAndAssigningValuesFreezesThem) {
  FillColumn(1, 1, 2);
  Set("B1", "=A1+1");
  At("B1").Copy(At("D2"));
  EXPECT_EQ(At("D2").Formula(), "=C2+1");
  At("B1:B2").SetValue("=A1*10");  // one relative formula over the range
  EXPECT_EQ(At("B2").Formula(), "=A2*10");
  At("B1:B2").SetValues(At("B1:B2").Values());
  EXPECT_EQ(At("B2").Formula(), "20");
  Set("A2", 5);
  EXPECT_EQ(Get("B2"), Variant(20));
}

TEST_F(FormulaEvalTest, EqualitySumProductGivesTheSameWithAndWithoutIndex) {
  const char* keys[] = {"a", "B", "", "b", "a"};
  for (int r = 2; r <= 6; ++r) {
    Set(("A" + std::to_string(r)).c_str(), keys[r - 2]);
    sheet.Cells(r, 2).SetValue(r % 2);
    sheet.Cells(r, 3).SetValue(r * 10);
  }
  Set("E1", "A");
  Set("F1", 0);
  std::string formula = "=SUMPRODUCT((A2:A6=E1)*(B2:B6=F1)*(C2:C6))";
  for (bool indexed : {true, false}) {
    app.SetLookupIndexEnabled(indexed);
    EXPECT_EQ(Eval(formula), Variant(80)) << indexed;
    EXPECT_EQ(Eval("=SUMPRODUCT((A2:A6=E9)*(C2:C6))"), Variant(40)) << indexed;  // blank key
    EXPECT_EQ(Eval("=MATCH(\"b\",A2:A6,0)"), Variant(2)) << indexed;
    EXPECT_EQ(Eval("=MATCH(\"A\",A2:A6,0)"), Variant(1)) << indexed;
    EXPECT_EQ(Eval("=MATCH(0,B2:B6,0)"), Variant(1)) << indexed;
  }
}

TEST_F(FormulaEvalTest, EmptyCellsEqualFalseZeroAndTheEmptyTextWithAndWithoutIndex) {
  // D2:D7: TRUE, empty, FALSE, 0, "", 1; the keys in F2:F5; a 1 a row in G.
  Set("D2", "TRUE");
  Set("D4", "FALSE");
  Set("D5", 0);
  Set("D6", "=\"\"");
  Set("D7", 1);
  Set("F2", "FALSE");
  Set("F3", 0);
  Set("F4", "=\"\"");
  Set("F5", "TRUE");
  for (int r = 2; r <= 7; ++r) sheet.Cells(r, 7).SetValue(Variant(1));
  for (bool indexed : {true, false}) {
    app.SetLookupIndexEnabled(indexed);
    EXPECT_EQ(Eval("=SUMPRODUCT((D2:D7=F2)*G2:G7)"), Variant(2)) << indexed;  // D3, D4
    EXPECT_EQ(Eval("=SUMPRODUCT((D2:D7=F3)*G2:G7)"), Variant(2)) << indexed;  // D3, D5
    EXPECT_EQ(Eval("=SUMPRODUCT((D2:D7=F4)*G2:G7)"), Variant(2)) << indexed;  // D3, D6
    EXPECT_EQ(Eval("=SUMPRODUCT((D2:D7=F5)*G2:G7)"), Variant(1)) << indexed;
    EXPECT_EQ(Eval("=SUMPRODUCT((D2:D7=1)*G2:G7)"), Variant(1)) << indexed;
    EXPECT_EQ(Eval("=SUMPRODUCT((D5:D7=F9)*G5:G7)"), Variant(2)) << indexed;  // D5 0 first, D6
  }
}

}  // namespace
}  // namespace tavrin
