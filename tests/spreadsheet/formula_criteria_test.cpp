#include "formula_fixture.h"

namespace tavrin {
namespace {

// The criteria of COUNTIF, SUMIF, AVERAGEIF and their several-criteria forms, answered from the
// column indexes or by a scan; every answer must be the scan's.
class FormulaCriteriaTest : public FormulaTest {
 protected:
  Variant Both(const std::string& formula) {
    app.SetLookupIndexEnabled(false);
    Variant scanned = Eval(formula);
    app.SetLookupIndexEnabled(true);
    Variant indexed = Eval(formula);
    EXPECT_EQ(indexed, scanned) << formula;
    return indexed;
  }
  // A1:C6: keys a b a c a (A2:A6), values 1 to 5 (B2:B6), tags x y x x y (C2:C6).
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

TEST_F(FormulaCriteriaTest, SeveralCriteriaMustAllHold) {
  EXPECT_EQ(Both("=COUNTIFS(A2:A6,\"a\",C2:C6,\"x\")"), Variant(2));
  EXPECT_EQ(Both("=SUMIFS(B2:B6,A2:A6,\"a\",C2:C6,\"x\")"), Variant(4));
  EXPECT_EQ(Both("=SUMIFS(B:B,A:A,\"a\",C:C,\"y\")"), Variant(5));
  EXPECT_EQ(Both("=COUNTIFS(A:A,\"<>a\",C:C,\"x\")"), Variant(1));
  EXPECT_EQ(Both("=SUMIFS(B2:B6,A2:A6,\"a\",B2:B6,\">=3\")"), Variant(8));
  EXPECT_EQ(Both("=COUNTIFS(A2:A6,\"a\",C2:C5,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Both("=COUNTIFS(A:A,\"\",C:C,\"\")"), Variant(65530));
}

TEST_F(FormulaCriteriaTest, RangesWhereRangesBelongAndCriteriaInPairs) {
  EXPECT_EQ(Eval("=COUNTIF(1,1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SUMIF(A2:A6,\"a\",5)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SUMIFS(5,A2:A6,\"a\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=COUNTIFS(A2:A6,\"a\",1,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=COUNTIFS(A2:A6,\"a\",C2:C6)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=SUMIFS(B2:B6,A2:A6,\"a\",C2:C6)"), Variant(ErrorValue::Value));
}

TEST_F(FormulaCriteriaTest, SumsTakeDatesAndStopAtTheSheetsEdge) {
  Set("D4", Variant::Date(45000));
  Set("D6", 1);
  EXPECT_EQ(Both("=SUMIF(A2:A6,\"a\",D2:D6)"), Variant(45001));
  Set("E65532", 1);
  Set("E65536", 100);
  EXPECT_EQ(Both("=SUMIF(A2:A6,\"a\",E65532)"), Variant(101));
  Set("IU1", 7);
  EXPECT_EQ(Both("=SUMIF(A2:C2,\"a\",IU1)"), Variant(7));
  EXPECT_EQ(Both("=SUMIF(A2:C2,\"x\",IU1)"), Variant(0));
}

TEST_F(FormulaCriteriaTest, AveragesOfTheMatchingNumbers) {
  EXPECT_EQ(Both("=AVERAGEIF(A2:A6,\"a\",B2:B6)"), Variant(3));
  EXPECT_EQ(Both("=AVERAGEIF(B2:B6,\">2\")"), Variant(4));
  EXPECT_EQ(Both("=AVERAGEIFS(B2:B6,A2:A6,\"a\",B2:B6,\">2\")"), Variant(4));
  EXPECT_EQ(Both("=AVERAGEIF(A2:A6,\"zz\",B2:B6)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Both("=AVERAGEIF(A2:A6,\"b\",C2:C6)"), Variant(ErrorValue::Div0));  // no number
  Set("B4", "=1/0");
  EXPECT_EQ(Both("=SUMIFS(B2:B6,A2:A6,\"a\")"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Both("=SUMIFS(B2:B6,A2:A6,\"c\")"), Variant(4));
}

TEST_F(FormulaCriteriaTest, TheSumRangeTakesTheShapeOfTheCriteriaRange) {
  EXPECT_EQ(Both("=SUMIF(A2:A6,\"a\",B2)"), Variant(9));
  EXPECT_EQ(Both("=SUMIF(A2:A6,\"a\",B2:B3)"), Variant(9));
}

TEST_F(FormulaCriteriaTest, NumbersMatchToFifteenDigits) {
  Set("E1", "=0.1+0.2");
  Set("E2", 0.3);
  Set("E3", "'0.3");
  EXPECT_EQ(Both("=COUNTIF(E1:E3,0.3)"), Variant(3));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"<=0.3\")"), Variant(2));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\">0.3\")"), Variant(0));
  EXPECT_EQ(Both("=SUMPRODUCT((E1:E3=0.3)*1)"), Variant(2));
  EXPECT_EQ(Eval("=0.1+0.2=0.3"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=0.1+0.2<0.3"), Variant::Boolean(false));
  EXPECT_EQ(Eval("=1+1E-14=1"), Variant::Boolean(false));
}

TEST_F(FormulaCriteriaTest, TildeEscapesAnyCharacterOfAPattern) {
  Set("E1", "xy");
  Set("E2", "x~y");
  Set("E3", "x*y");
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"x~y\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"x~~y\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"x~*y\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"x*y\")"), Variant(3));
  EXPECT_EQ(Both("=MATCH(\"x~y\",E1:E3,0)"), Variant(1));
  EXPECT_EQ(Both("=VLOOKUP(\"x~*y\",E1:E3,1,FALSE)"), Variant("x*y"));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"x~~*\")"), Variant(1)) << "an escaped tilde, then any run";
  Set("E4", "x~");
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"x~\")"), Variant(1)) << "a tilde at the end is itself";
}

TEST_F(FormulaCriteriaTest, WildcardsMatchWholeTexts) {
  Set("E1", "xy");
  Set("E2", "x~y");
  Set("E3", "xyz");
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"*\")"), Variant(3));
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"x*\")"), Variant(3));
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"x?\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"xy?\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"*y\")"), Variant(2));
}

TEST_F(FormulaCriteriaTest, AnOperatorAloneAsksForEmptyCellsOrContent) {
  Set("E1", "=\"\"");
  Set("E3", "x");
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"\")"), Variant(3)) << "empty cells and empty texts";
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"=\")"), Variant(2)) << "empty cells only";
  EXPECT_EQ(Both("=COUNTIF(E1:E4,\"<>\")"), Variant(2)) << "all but the empty cells";
}

TEST_F(FormulaCriteriaTest, AnOrderCriterionComparesValuesOfItsOwnKind) {
  Set("F1", "TRUE");
  Set("F2", "FALSE");
  Set("F3", 1);
  EXPECT_EQ(Both("=COUNTIF(F1:F3,\">FALSE\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(A1:B6,\"<b\")"), Variant(3)) << "the numbers of B are no texts";
  Set("G1", "=1/0");
  Set("G2", "=NA()");
  Set("G3", "#DIV/0!");
  EXPECT_EQ(Both("=COUNTIF(G1:G3,\"#DIV/0!\")"), Variant(2));
  // An error has no order: greater or less than one matches no cell, errors included.
  EXPECT_EQ(Both("=COUNTIF(F1:G3,\">#N/A\")+COUNTIF(F1:G3,\"<=#DIV/0!\")"), Variant(0));
}

TEST_F(FormulaCriteriaTest, SeveralCriteriaValuesGiveAnArrayOfAnswers) {
  EXPECT_EQ(Both("=SUMPRODUCT(1/COUNTIF(A2:A6,A2:A6))"), Variant(3));  // distinct keys
  EXPECT_EQ(Both("=SUM(COUNTIF(A2:A6,{\"a\",\"c\"}))"), Variant(4));
  EXPECT_EQ(Both("=SUMPRODUCT(SUMIFS(B2:B6,A2:A6,{\"a\";\"b\"},C2:C6,\"x\"))"), Variant(4));
  EXPECT_EQ(Both("=SUMPRODUCT(COUNTIF(A2:A6,{\"a\",#N/A}))"), Variant(ErrorValue::NA));
}

TEST_F(FormulaCriteriaTest, AnEmptyCriterionCellAsksForZero) {
  Set("E1", 0);
  Set("E2", "'0");
  Set("E4", "x");
  EXPECT_EQ(Both("=COUNTIF(E1:E4,F1)"), Variant(2));  // not the empty E3
  EXPECT_EQ(Both("=SUMIF(E1:E4,F1,B2:B5)"), Variant(3));
  EXPECT_EQ(Both("=COUNTIFS(E1:E4,F1,E1:E4,\"<>x\")"), Variant(2));
}

TEST_F(FormulaCriteriaTest, DateTimeAndPercentOperandsReadAsTyped) {
  Set("E1", "=DATE(2023,12,31)");
  Set("E2", "=DATE(2024,1,31)");
  Set("E3", "=DATE(2024,2,1)");
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\">2024-1-1\")"), Variant(2));
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"2024-1-31\")"), Variant(1));
  EXPECT_EQ(Both("=COUNTIFS(E1:E3,\">=2024/1/31\",E1:E3,\"<2024-2-1\")"), Variant(1));
  EXPECT_EQ(Both("=SUMIF(E1:E3,\"<2024-1-1\",B2:B4)"), Variant(1));
  Set("F1", 0.25);
  Set("F2", 0.75);
  Set("F3", 0.1);
  EXPECT_EQ(Both("=COUNTIF(F1:F2,\">12:00\")"), Variant(1));
  EXPECT_EQ(Both("=SUMIFS(B2:B4,F1:F3,\"10%\")"), Variant(3));
  EXPECT_EQ(Both("=AVERAGEIF(F1:F3,\"<50%\",B2:B4)"), Variant(2));
}

TEST_F(FormulaCriteriaTest, TextsOrderAsTheHostCollatesThem) {
  EXPECT_EQ(Eval("=\"ÄBC\">=\"x\""), Variant::Boolean(false)) << "accents beside their letter";
  EXPECT_EQ(Eval("=\"{\"<\"a\""), Variant::Boolean(true)) << "punctuation before letters";
  EXPECT_EQ(Eval("=\"啊\"<\"中\""), Variant::Boolean(true)) << "Chinese in pinyin order";
  EXPECT_EQ(Eval("=\"a\"=\"ä\""), Variant::Boolean(false));
  EXPECT_EQ(Eval("=\"Abc\"<\"abd\""), Variant::Boolean(true));
  Set("E1", "ä");
  Set("E2", "中");
  Set("E3", "{x}");
  EXPECT_EQ(Both("=COUNTIF(E1:E3,\"<b\")"), Variant(2));
  Set("F1", "啊");
  Set("F2", "保");
  Set("F3", "中");
  EXPECT_EQ(Eval("=MATCH(\"北\",F1:F3,1)"), Variant(2)) << "a sorted lookup in pinyin order";
}

}  // namespace
}  // namespace tavrin
