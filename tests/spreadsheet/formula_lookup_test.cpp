#include "formula_fixture.h"

namespace tavrin {
namespace {

// A1:C6: a header row (k, v, d), then keys a b a c a, values 1 to 5, tags x y x x y.
class FormulaLookupTest : public FormulaTest {
 protected:
  void SetUp() override {
    const char* keys[] = {"k", "a", "b", "a", "c", "a"};
    const char* tags[] = {"d", "x", "y", "x", "x", "y"};
    for (int r = 1; r <= 6; ++r) {
      sheet.Cells(r, 1).SetValue(keys[r - 1]);
      sheet.Cells(r, 2).SetValue(r == 1 ? Variant("v") : Variant(r - 1));
      sheet.Cells(r, 3).SetValue(tags[r - 1]);
    }
  }
};

TEST_F(FormulaLookupTest, LookupsAcrossDownAndSorted) {
  EXPECT_EQ(Eval("=HLOOKUP(\"V\",A1:C6,3,FALSE)"), Variant(2));
  EXPECT_EQ(Eval("=HLOOKUP(\"v\",A1:C6,7,FALSE)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=VLOOKUP(\"c\",A2:C6,3,FALSE)"), Variant("x"));
  EXPECT_EQ(Eval("=LOOKUP(3.5,B2:B6,A2:A6)"), Variant("a"));
  EXPECT_EQ(Eval("=LOOKUP(0,B2:B6,A2:A6)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=LOOKUP(9,B2:B6,C2)"), Variant("y"));  // the result range runs on
  EXPECT_EQ(Eval("=LOOKUP(4,B2:C6)"), Variant("x"));     // an array: the last column
  Set("E1", 1);
  Set("F1", 2);
  Set("G1", 3);
  Set("E2", "one");
  Set("F2", "two");
  EXPECT_EQ(Eval("=LOOKUP(2.5,E1:G2)"), Variant("two"));  // wider than high: the last row
  // The last match: 1/(condition) is 1 where it holds and #DIV/0! elsewhere.
  EXPECT_EQ(Eval("=LOOKUP(2,1/(A2:A6=\"a\"),B2:B6)"), Variant(5));
  // A single error in place of the vector is the answer.
  EXPECT_EQ(Eval("=LOOKUP(2,1/0,B2:B6)"), Variant(ErrorValue::Div0));
}

TEST_F(FormulaLookupTest, SortedSearchesStopAtTheFirstGreaterValue) {
  EXPECT_EQ(Eval("=MATCH(3,B2:B6)"), Variant(3));  // an equal value counts
  EXPECT_EQ(Eval("=MATCH(9,B2:B20)"), Variant(5)) << "the empty rows below are passed over";
  EXPECT_EQ(Eval("=MATCH(3,{5,4,3,2,1},-1)"), Variant(3));
  EXPECT_EQ(Eval("=MATCH(2.5,{1,2,3,1})"), Variant(2)) << "not sorted: the search stops at 3";
  EXPECT_EQ(Eval("=MATCH(\"y*\",B3:C3,0)"), Variant(2)) << "a pattern passes over numbers";
  EXPECT_EQ(Eval("=MATCH(1,B2:B6,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=MATCH(1/0,B2:B6,0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=LOOKUP(1/0,B2:B6)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=MATCH(D1,D1:D5,0)"), Variant(ErrorValue::NA)) << "empty is never found";
  EXPECT_EQ(Eval("=LOOKUP(D1,{-1,0,1})"), Variant(ErrorValue::NA));
  Set("E2", 7);
  EXPECT_EQ(Eval("=VLOOKUP(E1,E1:F3,1,FALSE)"), Variant(ErrorValue::NA));
}

TEST_F(FormulaLookupTest, TablesIndexesAndResultVectorsAtTheirLimits) {
  EXPECT_EQ(Eval("=VLOOKUP(1/0,A1:C6,2,FALSE)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=VLOOKUP(\"c\",A1:C6,1/0,FALSE)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=VLOOKUP(\"c\",A1:C6,2,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=VLOOKUP(\"c\",A2:C6,1,FALSE)"), Variant("c"));
  EXPECT_EQ(Eval("=VLOOKUP(\"c\",A2:C6,0,FALSE)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=INDEX(A1:C6,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=INDEX(A1:C6,1,1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=INDEX(B2:B6,2,2)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=INDEX(B2:B6,-1)"), Variant(ErrorValue::Ref)) << "no cell of the range";
  EXPECT_EQ(Eval("=INDEX({1,2;3,4},1,-1)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=SUM(INDEX({1,2;3,4},2))"), Variant(7)) << "an array's whole row";
  EXPECT_EQ(Eval("=SUM(INDEX(A1:C6,3))"), Variant(ErrorValue::Ref)) << "a block needs a column";
  EXPECT_EQ(Eval("=SUM(INDEX(A1:C6,3,0))"), Variant(2));
  EXPECT_EQ(Eval("=INDEX(A2:C2,2)"), Variant(1)) << "one number into a row picks a column";
  EXPECT_EQ(Eval("=LOOKUP(2.5,{1,2,3;\"one\",\"two\",\"three\"})"), Variant("two"));
  EXPECT_EQ(Eval("=LOOKUP(2,{1,\"a\";2,\"b\";3,\"c\"})"), Variant("b"));
  EXPECT_EQ(Eval("=LOOKUP(2,{1,5;2,6})"), Variant(6)) << "square: the first column searched";
  EXPECT_EQ(Eval("=LOOKUP(2,{1;2;3},{10;20;30})"), Variant(20));
  EXPECT_EQ(Eval("=LOOKUP(1,B2:B6,7)&LOOKUP(3,B2:B6,7)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=LOOKUP(1,B2:B6,7)"), Variant(7));
  for (int c = 4; c <= 8; ++c) sheet.Cells(1, c).SetValue(c * 10 - 30);
  EXPECT_EQ(Eval("=LOOKUP(3,B2:B6,D1:H1)"), Variant(30)) << "a row of results";
  Set("A65536", "last");
  Set("IV1", "edge");
  EXPECT_EQ(Eval("=LOOKUP(5,B2:B6,A65532)"), Variant("last"));
  EXPECT_EQ(Eval("=LOOKUP(5,B2:B6,A65533)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=LOOKUP(3,B2:B6,IT1:IU1)"), Variant("edge"));
  EXPECT_EQ(Eval("=CHOOSE(1,\"x\",\"y\")"), Variant("x"));
  EXPECT_EQ(Eval("=CHOOSE(1/0,\"x\")"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=SUM(CHOOSE({1,#N/A},1,10))"), Variant(ErrorValue::NA));
}

TEST_F(FormulaLookupTest, ExactLookupsCompareNumbersExactly) {
  Set("E1", 0.3);
  EXPECT_EQ(Eval("=MATCH(0.1+0.2,E1:E2,0)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=VLOOKUP(0.1+0.2,E1:E2,1,FALSE)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=MATCH(0.3,E1:E2,0)"), Variant(1));
  EXPECT_EQ(Eval("=COUNTIF(E1:E2,0.1+0.2)"), Variant(1));  // a criterion to 15 digits
  EXPECT_EQ(Eval("=E1=0.1+0.2"), Variant::Boolean(true));
  app.SetLookupIndexEnabled(false);
  EXPECT_EQ(Eval("=MATCH(0.1+0.2,E1:E2,0)"), Variant(ErrorValue::NA));
}

TEST_F(FormulaLookupTest, ChooseIndexAndOffsetGiveRanges) {
  EXPECT_EQ(Eval("=CHOOSE(2,\"x\",\"y\",\"z\")"), Variant("y"));
  EXPECT_EQ(Eval("=CHOOSE(4,\"x\",\"y\",\"z\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SUM(CHOOSE(2,A2:A6,B2:B6))"), Variant(15));
  EXPECT_EQ(Eval("=SUM(B2:INDEX(B:B,4))"), Variant(6));
  EXPECT_EQ(Eval("=SUM(INDEX(A1:C6,0,2))"), Variant(15));
  EXPECT_EQ(Eval("=SUM(OFFSET(B1,1,0,3,1))"), Variant(6));
  EXPECT_EQ(Eval("=SUM(OFFSET(B6,0,0,-2))"), Variant(9));  // upwards from the moved corner
  EXPECT_EQ(Eval("=OFFSET(A1,2,1)"), Variant(2));
  EXPECT_EQ(Eval("=OFFSET(A1,-1,0)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=OFFSET(A1,0,0,0,1)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=ROWS(A1:C6)*10+COLUMNS(A1:C6)+ROWS(7)"), Variant(64));
  EXPECT_EQ(Eval("=SUMPRODUCT(B2:B6*TRANSPOSE(TRANSPOSE(B2:B6)))"), Variant(55));
  EXPECT_EQ(Eval("=SUMPRODUCT(B2:B3*TRANSPOSE(B2:B3))"), Variant(9));  // a column times a row
}

TEST_F(FormulaLookupTest, RowsColumnsAndOffsetsToTheSheetsEdges) {
  EXPECT_EQ(Eval("=ROW()*100+COLUMN()"), Variant(126));  // Z1
  EXPECT_EQ(Eval("=ROW(1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=COUNT(ROW(A2:A4))+SUM(COLUMN(B1:C1))"), Variant(8));
  EXPECT_EQ(Eval("=ROWS({1,2;3,4;5,6})*10+COLUMNS({1,2,3})"), Variant(33));
  EXPECT_EQ(Eval("=ROWS(1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=OFFSET(1,0,0)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=OFFSET(A1,1/0,0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=ROWS(OFFSET(A1:A3,0,0,,2))*10+COLUMNS(OFFSET(A1:A3,0,0,,2))"), Variant(32));
  EXPECT_EQ(Eval("=ROWS(OFFSET(A1:B3,1,1,2,))*10+COLUMNS(OFFSET(A1:B3,1,1,2,))"), Variant(22));
  EXPECT_EQ(Eval("=OFFSET(A1,0,0,1,0)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=SUM(OFFSET(B3,0,0,1,-2))"), Variant(2));  // leftwards: A3:B3
  EXPECT_EQ(Eval("=OFFSET(A2,-1,0)&OFFSET(B1,0,-1)"), Variant("kk"));
  EXPECT_EQ(Eval("=OFFSET(A1,0,-1)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=ROWS(OFFSET(A65535,0,0,2))"), Variant(2));
  EXPECT_EQ(Eval("=OFFSET(A65535,0,0,3)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=COLUMNS(OFFSET(IU1,0,0,1,2))"), Variant(2));
  EXPECT_EQ(Eval("=OFFSET(IU1,0,0,1,3)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=OFFSET(A1,65536,0)"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=INDIRECT(1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=INDIRECT(\"B2\",1/0)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Eval("=INDIRECT(\"B2:INDEX(B:B,4)\")"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=SUM(INDIRECT(\"B2:B3:B4\"))"), Variant(6));
}

TEST_F(FormulaLookupTest, ArrayConstantsReadComputeAndWriteBack) {
  EXPECT_EQ(Eval("=SUM({1,2;3,4})"), Variant(10));
  EXPECT_EQ(Eval("=SUM({1,\"2\",TRUE})"), Variant(1));  // an array counts as cells do
  EXPECT_EQ(Eval("=LOOKUP(65,{0,60,70},{\"F\",\"D\",\"C\"})"), Variant("D"));
  EXPECT_EQ(Eval("=LOOKUP(3,{1;2;3},{10;20})"), Variant(ErrorValue::NA));  // past its end
  EXPECT_EQ(Eval("=LOOKUP(3,{1,2,3},{10,20})"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=VLOOKUP(2,{1,\"one\";2,\"two\"},2,FALSE)"), Variant("two"));
  EXPECT_EQ(Eval("=HLOOKUP(\"b\",{\"a\",\"b\";1,2},2,FALSE)"), Variant(2));
  EXPECT_EQ(Eval("=INDEX({1,2;3,4},2,1)+MATCH(\"c\",{\"a\",\"b\",\"c\"},0)"), Variant(6));
  EXPECT_EQ(Eval("=OR(A2={\"x\",\"a\"})"), Variant::Boolean(true));
  Set("Z1", "={-1,-2.5E3;#N/A,\"x\"}+0*{ true , false ; 1 , 2 }");
  EXPECT_EQ(At("Z1").Formula(), "={-1,-2500;#N/A,\"x\"}+0*{TRUE,FALSE;1,2}");
  EXPECT_EQ(Get("Z1"), Variant(-1));
  for (const char* text : {"={1,2;3}", "={1,A1}", "={1+1}", "={-\"a\"}", "={}", "={1,}", "={-TRUE}",
                           "={-#N/A}", "={1x2}", "={1+1"}) {
    EXPECT_EQ(ErrorOf([&] { Set("Z2", text); }), 1004) << text;
  }
}

TEST_F(FormulaLookupTest, IndirectReadsAddressTexts) {
  book.AddSheet("Other Sheet").Range("A1").SetValue(42);
  EXPECT_EQ(Eval("=SUM(INDIRECT(\"B2:B4\"))"), Variant(6));
  EXPECT_EQ(Eval("=INDIRECT(\"'Other Sheet'!A1\")"), Variant(42));
  EXPECT_EQ(Eval("=INDIRECT(\"a\"&3)"), Variant("b"));
  EXPECT_EQ(Eval("=INDIRECT(\"R2C2\",FALSE)"), Variant(1));
  EXPECT_EQ(Eval("=INDIRECT(\"nonsense\")"), Variant(ErrorValue::Ref));
  EXPECT_EQ(Eval("=INDIRECT(\"SUM(B2:B4)\")"), Variant(ErrorValue::Ref));  // no formula
  Set("E1", "=INDIRECT(\"E1\")");
  EXPECT_EQ(Get("E1"), Variant(ErrorValue::Ref));  // its own cell: a circle
}

}  // namespace
}  // namespace tavrin
