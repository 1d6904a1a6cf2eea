#include <iterator>
#include <string>
#include <utility>

#include "sheet_fixture.h"

namespace tavrin {
namespace {

// COUNTIF and SUMIF of an equality are answered from the column index; every answer must be
// the scan's.
class CountIfIndexTest : public SheetTest {
 protected:
  // The formula's value with the lookup indexes on, checked against the value with them off.
  Variant Both(const std::string& formula) {
    app.SetLookupIndexEnabled(false);
    Set("Z1", formula.c_str());
    Variant scanned = Get("Z1");
    app.SetLookupIndexEnabled(true);
    Set("Z1", formula.c_str());
    Variant indexed = Get("Z1");
    EXPECT_EQ(indexed, scanned) << formula;
    return indexed;
  }

  // A1:A9: 5, the text "5", "abc", "ABC", an empty cell, the text "", 0, FALSE, 5;
  // B1:B9: 1, 2, ... 9.
  void SetUp() override {
    Set("A1", 5);
    Set("A2", "'5");
    Set("A3", "abc");
    Set("A4", "ABC");
    Set("A6", "=\"\"");
    Set("A7", 0);
    Set("A8", Variant::Boolean(false));
    Set("A9", 5);
    FillColumn(2, 1, 9);
  }
};

TEST_F(CountIfIndexTest, NumbersCountTextsThatReadAsThem) {
  ASSERT_EQ(Get("A2"), Variant("5"));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,5)"), Variant(3));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"5\")"), Variant(3));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"=5\")"), Variant(3));
  EXPECT_EQ(Both("=SUMIF(A1:A9,5,B1:B9)"), Variant(12));
  EXPECT_EQ(Both("=SUMIF(A1:A9,5)"), Variant(10));   // the text "5" adds nothing
  EXPECT_EQ(Both("=COUNTIF(A1:A9,0)"), Variant(1));  // neither empty cells nor FALSE
  EXPECT_EQ(Both("=COUNTIF(A1:A9,FALSE)"), Variant(1));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"TRUE\")"), Variant(0));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,7)"), Variant(0));
  EXPECT_EQ(Both("=COUNTIF(A1:B9,5)"), Variant(4)) << "a block: column B's 5 too";
  EXPECT_EQ(Both("=SUMPRODUCT((A1:B9=5)*(A1:B9=5))"), Variant(3));
}

TEST_F(CountIfIndexTest, TextsIgnoreLetterCaseAndWildcardsStillMatch) {
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"Abc\")"), Variant(2));
  EXPECT_EQ(Both("=SUMIF(A1:A9,\"=aBC\",B1:B9)"), Variant(7));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"a*\")"), Variant(2));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"?\")"), Variant(1));  // the text "5"
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"<>abc\")"), Variant(7));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\">4\")"), Variant(2));
}

TEST_F(CountIfIndexTest, BlankCriteriaTellEmptyCellsFromEmptyTexts) {
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"\")"), Variant(2));   // empty cell and ""
  EXPECT_EQ(Both("=COUNTIF(A1:A9,\"=\")"), Variant(1));  // the empty cell only
  EXPECT_EQ(Both("=SUMIF(A1:A9,\"\",B1:B9)"), Variant(11));
  EXPECT_EQ(Both("=COUNTIF(A1:A9,C1)"), Variant(1));  // an empty criterion cell asks for 0
}

TEST_F(CountIfIndexTest, AnswersFollowWritesAndSumErrors) {
  EXPECT_EQ(Both("=COUNTIF(A1:A9,5)"), Variant(3));
  Set("A5", 5);  // the index is rebuilt
  EXPECT_EQ(Both("=COUNTIF(A1:A9,5)"), Variant(4));
  EXPECT_EQ(Both("=SUMIF(A1:A9,5,B1:B9)"), Variant(17));
  Set("B2", "=1/0");
  EXPECT_EQ(Both("=SUMIF(A1:A9,5,B1:B9)"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Both("=SUMIF(A1:A9,\"abc\",B1:B9)"), Variant(7));  // the error row unmatched
}

TEST_F(CountIfIndexTest, FilledFormulasShareTheIndex) {
  for (int r = 1; r <= 9; ++r) {
    sheet.Cells(r, 3).SetValue("=COUNTIF(A$1:A$9,A" + std::to_string(r) + ")");
  }
  const double expected[] = {3, 3, 2, 2, 1, 2, 1, 1, 3};  // the empty A5 counts the 0
  for (bool indexed : {true, false}) {
    app.SetLookupIndexEnabled(indexed);
    Set("Z9", 0);  // a write so the results are computed again
    for (int r = 1; r <= 9; ++r) {
      EXPECT_EQ(sheet.Cells(r, 3).Value(), Variant(expected[r - 1])) << r << " " << indexed;
    }
  }
}

// SUMPRODUCT of a product of equalities (and a last column of values) is answered from the
// indexes; any other shape, and data the index cannot answer, is computed cell by cell.
TEST_F(CountIfIndexTest, SumProductsOfEqualitiesAnswerAsTheCellsDo) {
  const char* keys[] = {"x", "x", "y", "y", "y"};
  for (int r = 1; r <= 5; ++r) {
    sheet.Cells(r, 4).SetValue(keys[r - 1]);
    sheet.Cells(r, 5).SetValue(r == 2 || r == 5 ? 2 : 1);
  }
  EXPECT_EQ(Both("=SUMPRODUCT((D1:D5=\"x\")*(E1:E5=1))"), Variant(1));
  EXPECT_EQ(Both("=SUMPRODUCT((D1:D5=\"x\")*E1:E5*E1:E5)"), Variant(5));
  EXPECT_EQ(Both("=SUMPRODUCT((D1:D5=\"x\")*E1:E5,E1:E5)"), Variant(5));
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=5)+(B1:B9=2))"), Variant(3));
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=5))"), Variant(0));  // Booleans are no numbers
  EXPECT_EQ(Both("=SUMPRODUCT((B1:B9>7)*B1:B9)"), Variant(17));
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=5)*2)"), Variant(4));
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=B1:B9)*B1:B9)"), Variant(0));
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=#N/A)*B1:B9)"), Variant(ErrorValue::NA));
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=5)*(B1:B8=2))"), Variant(ErrorValue::NA));
  EXPECT_EQ(Both("=SUMPRODUCT((B1:B9=3)*A1:A9)"), Variant(ErrorValue::Value));  // a text
  Set("B4", "=1/0");
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=5)*B1:B9)"), Variant(ErrorValue::Div0));
  Set("B4", 4);
  Set("A5", "=1/0");
  EXPECT_EQ(Both("=SUMPRODUCT((A1:A9=5)*B1:B9)"), Variant(ErrorValue::Div0));
}

// The cells computed at one content version share the answers kept by question; a question alike
// but for one part (what is asked, the range summed, the key) gets its own answer.
TEST_F(CountIfIndexTest, QuestionsAlikeButForOnePartGetTheirOwnAnswers) {
  for (int r = 1; r <= 9; ++r) sheet.Cells(r, 3).SetValue(10 * r);
  const std::pair<const char*, double> cases[] = {
      {"=COUNTIFS(A1:A9,5)", 3},
      {"=SUMIFS(B1:B9,A1:A9,5)", 12},
      {"=AVERAGEIFS(B1:B9,A1:A9,5)", 4},
      {"=SUMIFS(C1:C9,A1:A9,5)", 120},
      {"=SUMIFS(C1:C9,A1:A9,5,B1:B9,2)", 20},
      {"=SUMPRODUCT((A1:A9=5)*B1:B9)", 10},
      {"=SUMPRODUCT((A1:A9=5)*C1:C9)", 100},
      {"=SUMPRODUCT((A1:A9=5)*(B1:B9=9))", 1},
      {"=SUMPRODUCT((A1:A9=\"abc\")*B1:B9)", 7},
      {"=SUMPRODUCT((A1:A9=D1)*B1:B9)", 26},  // an empty key: 0, "", FALSE and empty cells
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    sheet.Cells(static_cast<int>(i) + 1, 26).SetValue(cases[i].first);
  }
  for (bool indexed : {true, false}) {
    app.SetLookupIndexEnabled(indexed);
    Set("Y1", 0);  // a write so the results are computed again, all at the same version
    for (size_t i = 0; i < std::size(cases); ++i) {
      EXPECT_EQ(sheet.Cells(static_cast<int>(i) + 1, 26).Value(), Variant(cases[i].second))
          << cases[i].first << " " << indexed;
    }
  }
}

}  // namespace
}  // namespace tavrin
