#include "host/worksheet_function.h"

#include "sheet_fixture.h"

namespace tavrin {
namespace {

using AdvancedFilterTest = SheetTest;

TEST_F(AdvancedFilterTest, UniqueCopyKeepsTheHeaderAndFirstAppearancesInOrder) {
  for (int r = 1; r <= 7; ++r) {
    static const char* const labels[] = {"Name", "b", "A", "B", "a", "c", "b"};
    Set(("A" + std::to_string(r)).c_str(), labels[r - 1]);
  }
  At("A1:A7").AdvancedFilter(xlFilterCopy, At("C3"), true);
  EXPECT_EQ(Get("C3"), Variant("Name"));
  EXPECT_EQ(Get("C4"), Variant("b")) << "letter case is ignored; the first spelling stays";
  EXPECT_EQ(Get("C5"), Variant("A"));
  EXPECT_EQ(Get("C6"), Variant("c"));
  EXPECT_TRUE(Get("C7").IsEmpty());
  EXPECT_TRUE(sheet.Changed());
}

TEST_F(AdvancedFilterTest, MinusZeroIsTheRecordZero) {
  Set("A1", "n");
  Set("A2", 0);
  sheet.Cells(3, 1).SetValue(Variant(-0.0));
  Set("A4", 1);
  At("A1:A4").AdvancedFilter(xlFilterCopy, At("C1"), true);
  EXPECT_EQ(Get("C2"), Variant(0));
  EXPECT_EQ(Get("C3"), Variant(1)) << "-0 and 0 are one value";
}

TEST_F(AdvancedFilterTest, RecordsCompareAllColumnsTogetherAsTheHostCompares) {
  // Header, then: (1, x), ('1, x), (1, X), (1, ), (1, ), (, ), (, ), (2, y).
  Set("A1", "k");
  Set("B1", "v");
  Set("A2", 1);
  Set("B2", "x");
  Set("A3", "'1");
  Set("B3", "x");
  Set("A4", 1);
  Set("B4", "X");
  Set("A5", 1);
  Set("A6", 1);
  Set("A9", 2);
  Set("B9", "y");
  At("A1:B9").AdvancedFilter(xlFilterCopy, At("D1"), true);
  Block block = sheet.Range("D1:E6").Values();
  EXPECT_EQ(block(2, 1), Variant(1));
  EXPECT_EQ(block(3, 1), Variant("1")) << "a number never equals a text";
  EXPECT_EQ(block(4, 1), Variant(1));
  EXPECT_TRUE(block(4, 2).IsEmpty());
  EXPECT_TRUE(block(5, 1).IsEmpty()) << "an all-empty row is a row like any other";
  EXPECT_TRUE(block(5, 2).IsEmpty());
  EXPECT_EQ(Get("D6"), Variant(2));
  EXPECT_EQ(Get("E6"), Variant("y"));
  EXPECT_TRUE(Get("D7").IsEmpty());
}

TEST_F(AdvancedFilterTest, CopiesValuesOverWhatWasThereAndRefusesTheEdge) {
  Set("A1", "h");
  Set("A2", "a");
  Set("A3", "a");
  sheet.Store().SetContent(4, 1, Variant(5), std::make_shared<CellFormula>(CellFormula{"=2+3"}));
  Set("C2", "old");
  Set("C3", "=1+1");
  At("A1:A4").AdvancedFilter(xlFilterCopy, At("C1"), true);
  EXPECT_EQ(Get("C2"), Variant("a"));
  EXPECT_EQ(Get("C3"), Variant(5));
  EXPECT_EQ(At("C3").Formula(), "5") << "a formula cell gives its value";
  EXPECT_EQ(ErrorOf([&] { At("A1:A4").AdvancedFilter(xlFilterCopy, At("C65535"), true); }), 1004);
  At("A1:A4").AdvancedFilter(xlFilterCopy, At("D65534"), true);
  EXPECT_EQ(Get("D65536"), Variant(5)) << "to the last row";
  At("A1:A4").AdvancedFilter(xlFilterCopy, At("IV1"), true);
  EXPECT_EQ(Get("IV3"), Variant(5)) << "in the last column";
  EXPECT_EQ(ErrorOf([&] { At("A1:A4").AdvancedFilter(xlFilterInPlace, At("C1"), true); }), 1004);
}

TEST_F(AdvancedFilterTest, WithoutUniqueEveryRecordIsCopied) {
  Set("A1", "h");
  Set("A2", "a");
  Set("A3", "A");
  At("A1:A3").AdvancedFilter(xlFilterCopy, At("B1"), false);
  EXPECT_EQ(Get("B3"), Variant("A"));
}

TEST_F(AdvancedFilterTest, AFullListOfManyDuplicates) {
  sheet.Cells(1, 1).SetValue("n");
  for (int r = 2; r <= kLastRow; ++r) sheet.Cells(r, 1).SetValue(r % 1000);
  At("A1:A65536").AdvancedFilter(xlFilterCopy, At("C1"), true);
  EXPECT_EQ(app.WorksheetFunction().CountA(At("C:C")), 1001);
  EXPECT_EQ(Get("C2"), Variant(2));
  EXPECT_EQ(Get("C1000"), Variant(0));
}

// Exact lookups go through an index; it must follow every write to the looked-up cells.
TEST_F(AdvancedFilterTest, MatchIndexFollowsWritesToTheRange) {
  WorksheetFunction& functions = app.WorksheetFunction();
  Set("A1", "x");
  Set("B1", "Y");
  Set("C1", 3);
  Set("D1", "y");
  Range labels = At("A1:D1");
  EXPECT_EQ(functions.Match("y", labels, 0), 2);
  EXPECT_EQ(functions.Match(3, labels, 0), 3);
  Set("A2", 9);  // a write beside the labels, in their column
  EXPECT_EQ(functions.Match("X", labels, 0), 1);
  Set("B1", "z");
  EXPECT_EQ(functions.Match("y", labels, 0), 4);
  Set("A1", 3);
  EXPECT_EQ(functions.Match(3, labels, 0), 1);
  At("A1").ClearContents();
  EXPECT_EQ(functions.Match(3, labels, 0), 3);
  EXPECT_EQ(functions.Match("?", labels, 0), 2) << "wildcards still apply";
  EXPECT_EQ(ErrorOf([&] { functions.Match("x", labels, 0); }), 1004);
  Set("E2", "y");
  Set("E3", "=1");
  EXPECT_EQ(functions.Match("Y", At("E1:E3"), 0), 2) << "a range with a formula";
}

}  // namespace
}  // namespace tavrin
