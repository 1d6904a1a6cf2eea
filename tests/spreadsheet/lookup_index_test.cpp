#include "host/worksheet_function.h"
#include "sheet_fixture.h"

namespace tavrin {
namespace {

// Exact lookups and equality criteria are answered from an index of their range, kept across
// writes elsewhere; every answer must still be the one the cells give.
class LookupIndexTest : public SheetTest {
 protected:
  void SetUp() override {
    Set("A1", "a");
    Set("A2", "b");
    Set("A3", "c");
    Set("A4", 4);
    Set("C1", "=MATCH(\"c\",A1:A4,0)");
    Set("C2", "=COUNTIF(A1:A4,4)");
  }
  double Match(const Variant& value, const char* range) {
    return app.WorksheetFunction().Match(value, At(range), 0);
  }
};

TEST_F(LookupIndexTest, AnswersFollowWritesToTheRangeAndNotBesideIt) {
  EXPECT_EQ(Get("C1"), Variant(3));
  Set("B3", "c");  // beside the range
  Set("A9", "c");  // in its column, below it
  EXPECT_EQ(Get("C1"), Variant(3));
  EXPECT_EQ(Match("C", "A1:A4"), 3);
  Set("A3", "c");  // the same value again
  EXPECT_EQ(Get("C1"), Variant(3));
  Set("A2", "C");
  EXPECT_EQ(Get("C1"), Variant(2));
  EXPECT_EQ(Match("c", "A1:A4"), 2);
  At("A2:A3").ClearContents();
  EXPECT_EQ(Get("C1"), Variant(ErrorValue::NA));
  EXPECT_EQ(ErrorOf([&] { Match("c", "A1:A4"); }), 1004);
  Set("A1", 4);
  EXPECT_EQ(Get("C2"), Variant(2));
  Set("C3", "=MATCH(4,A1:B4,0)");
  EXPECT_EQ(Get("C3"), Variant(ErrorValue::NA)) << "a block is neither a row nor a column";
}

TEST_F(LookupIndexTest, AnswersFollowTheFirstWriteAndTheLastClear) {
  EXPECT_EQ(Get("C2"), Variant(1));
  At("A4").ClearContents();  // the range's last value
  EXPECT_EQ(Get("C2"), Variant(0));
  Set("C5", "=COUNTIF(H1:H3,\"x\")");  // a range holding nothing yet
  EXPECT_EQ(Get("C5"), Variant(0));
  Set("H2", "x");
  EXPECT_EQ(Get("C5"), Variant(1));
  EXPECT_EQ(Match("a", "A1:A4"), 1) << "the range's first value";
}

TEST_F(LookupIndexTest, RowsInsertedAboveMoveTheValuesOutOfTheRange) {
  EXPECT_EQ(Match(4, "A1:A4"), 4);
  At("1:1").Insert(xlShiftDown);
  EXPECT_EQ(Match("c", "A1:A4"), 4);
  EXPECT_EQ(ErrorOf([&] { Match(4, "A1:A4"); }), 1004);
}

TEST_F(LookupIndexTest, ALabelRowFollowsWritesToItsColumns) {
  Set("E1", "x");
  Set("F1", "y");
  EXPECT_EQ(Match("Y", "E1:F1"), 2);
  Set("F2", 1);  // under the labels
  EXPECT_EQ(Match("Y", "E1:F1"), 2);
  Set("F1", "z");
  EXPECT_EQ(ErrorOf([&] { Match("Y", "E1:F1"); }), 1004);
  EXPECT_EQ(Match("z", "E1:F1"), 2);
}

TEST_F(LookupIndexTest, ARangeOfFormulasFollowsTheCellsTheyRead) {
  Sheet& other = book.AddSheet("Sheet2");
  other.Range("A1").SetValue("p");
  other.Range("A2").SetValue("q");
  Set("D1", "=Sheet2!A1");
  Set("D2", "=Sheet2!A2");
  EXPECT_EQ(Match("q", "D1:D2"), 2);
  Set("E5", "=COUNTIF(D1:D2,\"q\")");
  EXPECT_EQ(Get("E5"), Variant(1));
  other.Range("A2").SetValue("p");
  EXPECT_EQ(ErrorOf([&] { Match("q", "D1:D2"); }), 1004);
  EXPECT_EQ(Match("p", "D1:D2"), 1);
  EXPECT_EQ(Get("E5"), Variant(0));
}

TEST_F(LookupIndexTest, ManyTextsAreFoundWhateverTheirLetterCase) {
  Block texts(3000, 1);
  for (int r = 1; r <= 3000; ++r) texts(r, 1) = Variant("Äpfel " + std::to_string(r));
  At("G1:G3000").SetValues(texts);
  EXPECT_EQ(Match("äPFEL 1", "G1:G3000"), 1);
  EXPECT_EQ(Match("ÄPFEL 2999", "G1:G3000"), 2999);
  EXPECT_EQ(ErrorOf([&] { Match("Äpfel 3001", "G1:G3000"); }), 1004);
  Set("G3001", "=COUNTIF(G1:G3000,\"äpfel 7\")");
  EXPECT_EQ(Get("G3001"), Variant(1));
  double strays = 0;  // texts the list does not hold, each looked up in its index
  for (int n = 3001; n <= 23000; ++n) {
    strays += app.WorksheetFunction().CountIf(At("G1:G3000"), "Äpfel " + std::to_string(n));
  }
  EXPECT_EQ(strays, 0);
}

// The tests that compare answers with the indexes on and off rely on the application's switch:
// off, no index is kept, and the answers come from the cells.
TEST_F(LookupIndexTest, TheApplicationsSwitchTurnsTheIndexesOff) {
  const Area column{1, 1, 4, 1};
  EXPECT_NE(sheet.Calc().Index(column), nullptr);
  app.SetLookupIndexEnabled(false);
  EXPECT_EQ(sheet.Calc().Index(column), nullptr);
  Set("A3", "d");
  EXPECT_EQ(Get("C1"), Variant(ErrorValue::NA));
}

// A formula asks its MATCH twice; the next question gets its own answer, numbers exactly.
TEST_F(LookupIndexTest, EachQuestionGetsItsOwnAnswer) {
  Set("A5", 4 + 1e-15);
  EXPECT_EQ(Match(4, "A1:A5"), 4);
  EXPECT_EQ(Match(4, "A1:A5"), 4);
  EXPECT_EQ(Match(4 + 1e-15, "A1:A5"), 5);
  EXPECT_EQ(ErrorOf([&] { Match(4 + 2e-15, "A1:A5"); }), 1004);
  EXPECT_EQ(Match("B", "A1:A5"), 2);
  EXPECT_EQ(Match("b", "A1:A5"), 2);
  Set("B1", "=IF(ISERROR(MATCH(\"c\",A1:A5,0)),0,INDEX(A1:A5,MATCH(\"c\",A1:A5,0)))");
  EXPECT_EQ(Get("B1"), Variant("c"));
}

}  // namespace
}  // namespace tavrin
