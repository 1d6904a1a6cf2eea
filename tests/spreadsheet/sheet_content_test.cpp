#include "sheet_fixture.h"

namespace tavrin {
namespace {

TEST_F(SheetTest, TypedEntriesBecomeNumbersBooleansFormulasOrText) {
  Set("A1", "12.5");
  Set("A2", "1,234");
  Set("A3", "=SUM(B1:B2)");
  Set("A4", "true");
  Set("A5", "#N/A");
  Set("A6", "'007");
  Set("A7", "abc");
  Set("A8", "=");
  EXPECT_EQ(Get("A1"), Variant(12.5));
  EXPECT_EQ(Get("A2"), Variant(1234));
  EXPECT_EQ(Get("A3"), Variant(0.0));
  EXPECT_EQ(At("A3").Formula(), "=SUM(B1:B2)");
  EXPECT_EQ(Get("A4"), Variant::Boolean(true));
  EXPECT_EQ(Get("A5"), Variant(ErrorValue::NA));
  EXPECT_EQ(Get("A6"), Variant("007"));
  EXPECT_EQ(Get("A7"), Variant("abc"));
  EXPECT_EQ(Get("A8"), Variant("="));
  // A value that is no text is kept as given; "" clears the cell.
  Set("B1", Variant::Date(46364.5));
  EXPECT_EQ(Get("B1"), Variant::Date(46364.5));
  Set("A1", "");
  EXPECT_EQ(Get("A1"), Variant());
  EXPECT_EQ(sheet.Store().ContentCount(Area{1, 1, 10, 1}), 7);
  // Booleans and error values in any letter case; a text like them is a text.
  Set("C1", "fALSE");
  Set("C2", "#div/0!");
  Set("C3", "trUe");
  Set("C4", "tru");
  Set("C5", "#n/a ");
  EXPECT_EQ(Get("C1"), Variant::Boolean(false));
  EXPECT_EQ(Get("C2"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Get("C3"), Variant::Boolean(true));
  EXPECT_EQ(Get("C4"), Variant("tru"));
  EXPECT_EQ(Get("C5"), Variant("#n/a "));
}

TEST_F(SheetTest, FormulaAndTextOfConstants) {
  Set("A1", 1234567.5);
  Set("A2", Variant::Boolean(false));
  Set("A3", ErrorValue::Div0);
  Set("A4", "text");
  Set("A5", Variant::Date(46364));
  EXPECT_EQ(At("A1").Formula(), "1234567.5");
  EXPECT_EQ(At("A2").Formula(), "FALSE");
  EXPECT_EQ(At("A3").Formula(), "#DIV/0!");
  EXPECT_EQ(At("A4").Formula(), "text");
  EXPECT_EQ(At("A5").Formula(), "2026/12/8");
  Set("A8", Variant::Date(1 + (10 * 60 + 5) / 86400.0));
  EXPECT_EQ(At("A8").Formula(), "1900/1/1 0:10:05");
  Set("A9", Variant::Date(59));
  EXPECT_EQ(At("A9").Formula(), "1900/2/28") << "an early date with no time shows none";
  EXPECT_EQ(At("A6").Formula(), "");
  EXPECT_EQ(At("A1").FormulaR1C1(), "1234567.5");
  EXPECT_EQ(At("A2").Text(), "FALSE");
  EXPECT_EQ(At("A3").Text(), "#DIV/0!");
  // A formula set in either notation is kept as written, its value left empty.
  At("B1").SetFormulaR1C1("=R1C1*2");
  EXPECT_EQ(At("B1").FormulaR1C1(), "=R1C1*2");
  At("B2").SetFormulaR1C1("42");
  EXPECT_EQ(Get("B2"), Variant(42));
}

TEST_F(SheetTest, WritesToSeveralCellsMoveTheVersionAndMarkTheSheet) {
  sheet.SetChanged(false);
  uint64_t version = sheet.ContentVersion();
  sheet.Range("A1:B2,D4").SetValue("x");
  EXPECT_TRUE(sheet.Changed());
  EXPECT_GT(sheet.ContentVersion(), version);
  EXPECT_EQ(sheet.Store().ContentCount(Area{1, 1, 10, 10}), 5);
  sheet.SetChanged(false);
  sheet.SetRowHeight(3, 20);
  EXPECT_TRUE(sheet.Changed());
  EXPECT_EQ(sheet.RowHeight(3), 20);
  EXPECT_EQ(sheet.RowHeight(4), 12.75);
  sheet.SetChanged(false);
  sheet.PageSetup().SetPrintTitleRows("$1:$1");
  EXPECT_TRUE(sheet.Changed());
}

TEST_F(SheetTest, ValuesAndSetValuesMoveBlocks) {
  Block block(2, 3);
  block(1, 1) = "1";
  block(1, 2) = "two";
  block(2, 3) = Variant::Boolean(true);
  At("B2:D3").SetValues(block);
  Block read = At("B2:D3").Values();
  EXPECT_EQ(read(1, 1), Variant(1));
  EXPECT_EQ(read(1, 2), Variant("two"));
  EXPECT_EQ(read(1, 3), Variant());
  EXPECT_EQ(read(2, 3), Variant::Boolean(true));
  EXPECT_EQ(At("A1:A1").Values().Rows(), 1);
  EXPECT_EQ(ErrorOf([&] { At("B2:D4").SetValues(block); }), 1004);
  EXPECT_EQ(ErrorOf([&] { At("B2:C3").SetValues(block); }), 1004);
  Block formula(1, 1);
  formula(1, 1) = "=SUM(";
  EXPECT_EQ(ErrorOf([&] { At("F1").SetValues(formula); }), 1004);
  EXPECT_EQ(At("F1").FormulaR1C1(), "") << "nothing written";
}

TEST_F(SheetTest, ClearContentsKeepsStyles) {
  Set("A1", 1);
  Set("A2", "=A1");
  sheet.Store().SetStyle(1, 1, 4);
  At("A:A").ClearContents();
  EXPECT_EQ(Get("A1"), Variant());
  EXPECT_EQ(At("A2").Formula(), "");
  EXPECT_EQ(sheet.Store().Find(1, 1)->style, 4u);
}

TEST_F(SheetTest, EndFollowsRunsJumpsGapsAndStopsAtTheEdges) {
  for (const char* address : {"B2", "B3", "B4", "B8", "C2", "D2", "G2"}) Set(address, 1);
  auto end = [&](const char* from, XlDirection direction) {
    return At(from).End(direction).Address();
  };
  EXPECT_EQ(end("B2", xlDown), "$B$4");      // along the run
  EXPECT_EQ(end("B4", xlDown), "$B$8");      // past the gap to the next content
  EXPECT_EQ(end("B8", xlDown), "$B$65536");  // nothing below
  EXPECT_EQ(end("B6", xlDown), "$B$8");      // from an empty cell
  EXPECT_EQ(end("B8", xlUp), "$B$4");
  EXPECT_EQ(end("B3", xlUp), "$B$2");
  EXPECT_EQ(end("B2", xlUp), "$B$1");
  EXPECT_EQ(end("B65536", xlUp), "$B$8");
  EXPECT_EQ(end("B65536", xlDown), "$B$65536");
  EXPECT_EQ(end("A1", xlUp), "$A$1");
  EXPECT_EQ(end("B2", xlToRight), "$D$2");
  EXPECT_EQ(end("D2", xlToRight), "$G$2");
  EXPECT_EQ(end("G2", xlToRight), "$IV$2");
  EXPECT_EQ(end("IV2", xlToLeft), "$G$2");
  EXPECT_EQ(end("D2", xlToLeft), "$B$2");
  EXPECT_EQ(end("B2", xlToLeft), "$A$2");
  EXPECT_EQ(end("A2", xlToLeft), "$A$2");
  EXPECT_EQ(end("IV2", xlToRight), "$IV$2");
  EXPECT_EQ(end("A2", xlToRight), "$B$2") << "from an empty cell beside a run";
  EXPECT_EQ(end("B1", xlDown), "$B$2");
  EXPECT_EQ(end("B7", xlDown), "$B$8");
}

TEST_F(SheetTest, CopyAndPasteSpecialTranspose) {
  Set("A1", 1);
  Set("B1", "=A1");
  Set("A2", "x");
  sheet.Store().SetStyle(1, 2, 9);
  At("A1:B2").Copy(At("D5"));
  EXPECT_EQ(Get("D5"), Variant(1));
  EXPECT_EQ(At("E5").Formula(), "=D5");  // the relative reference moves with the copy
  EXPECT_EQ(sheet.Store().Find(5, 5)->style, 9u);

  At("A1:B2").Copy();
  EXPECT_TRUE(app.CutCopyMode());
  Set("H2", "old");
  At("G1").PasteSpecial(xlPasteValues, xlPasteSpecialOperationNone, false, true);
  EXPECT_EQ(Get("G1"), Variant(1));
  EXPECT_EQ(Get("H1"), Variant("x"));
  EXPECT_EQ(Get("G2"), Variant(1));  // B1's formula, pasted as its value
  EXPECT_EQ(Get("H2"), Variant());   // the blank B2 clears what it lands on
  EXPECT_EQ(app.Selection().Address(), "$G$1:$H$2");
  At("J1").PasteSpecial(xlPasteFormats);
  EXPECT_EQ(Get("K1"), Variant());
  EXPECT_EQ(sheet.Store().Find(1, 11)->style, 9u);
  app.SetCutCopyMode(false);
  EXPECT_EQ(ErrorOf([&] { At("J1").PasteSpecial(); }), 1004);
}

TEST_F(SheetTest, PasteSpecialTilesTheBlockSkipsBlanksAndStaysOnTheSheet) {
  EXPECT_EQ(ErrorOf([&] { At("A1").PasteSpecial(); }), 1004) << "nothing copied";
  Set("A1", 1);
  Set("C1", 3);
  At("A1:C1").Copy();
  EXPECT_EQ(ErrorOf([&] {
              At("A5").PasteSpecial(xlPasteAll, XlPasteSpecialOperation{2}, false, false);  // add
            }),
            1004);
  Set("E3", "kept");
  At("A3:F4").PasteSpecial(xlPasteValues, xlPasteSpecialOperationNone, true, false);
  EXPECT_EQ(At("A3:G5").Values(), [] {
    Block expected(3, 7);
    for (int r : {1, 2}) {
      expected(r, 1) = Variant(1);
      expected(r, 3) = Variant(3);
      expected(r, 4) = Variant(1);
      expected(r, 6) = Variant(3);
    }
    expected(1, 5) = Variant("kept");  // a blank skipped
    return expected;
  }());
  EXPECT_EQ(app.Selection().Address(), "$A$3:$F$4");
  At("IT65536").PasteSpecial(xlPasteValues, xlPasteSpecialOperationNone, false, false);
  EXPECT_EQ(sheet.Cells(65536, 256).Value(), Variant(3)) << "the last cell";
  EXPECT_EQ(ErrorOf([&] { At("IU1").PasteSpecial(xlPasteValues); }), 1004);
  At("A1:A2").Copy();
  EXPECT_EQ(ErrorOf([&] { At("A65536").PasteSpecial(xlPasteValues); }), 1004);
  sheet.SetRowHeight(7, 30);
  sheet.Rows(7, 7).Copy();
  sheet.Rows(9, 9).PasteSpecial(xlPasteValues, xlPasteSpecialOperationNone, false, false);
  EXPECT_EQ(sheet.RowHeight(9), Sheet::kDefaultRowHeight) << "values take no heights";
}

TEST_F(SheetTest, InsertedRowsMayPushEmptyRowsOffButNoContent) {
  Set("IV65536", 1);
  EXPECT_EQ(ErrorOf([&] { sheet.Rows(1, 1).Insert(); }), 1004) << "the last column too";
  At("IV65536").ClearContents();
  Set("A65535", 1);
  sheet.Rows(1, 1).Insert();
  EXPECT_EQ(Get("A65536"), Variant(1));
}

TEST_F(SheetTest, RangesCopiesAndSelectionsStayWithinTheirSheetAndBook) {
  Sheet& second = book.AddSheet("Second");
  EXPECT_EQ(ErrorOf([&] { sheet.Range("Second!A1"); }), 1004);
  EXPECT_EQ(ErrorOf([&] { sheet.Range("A1:"); }), 1004);
  EXPECT_EQ(sheet.Range("sheet1!B2").Address(), "$B$2");
  EXPECT_EQ(ErrorOf([&] { second.Range("A1").Select(); }), 1004) << "not the active sheet";
  sheet.Range("B2").Select();
  EXPECT_EQ(app.Selection().Address(), "$B$2");
  Sheet& elsewhere = app.AddWorkbook("Book2").AddSheet("Sheet1");
  EXPECT_EQ(ErrorOf([&] { sheet.Copy(elsewhere); }), 1004);
}

TEST_F(SheetTest, CutMovesContentAndStylesToAnotherSheet) {
  Sheet& other = book.AddSheet("Other");
  Set("A1", 5);
  sheet.Store().SetStyle(1, 1, 2);
  At("A1").Cut(other.Range("C3"));
  EXPECT_EQ(sheet.Store().Find(1, 1), nullptr);
  EXPECT_EQ(other.Range("C3").Value(), Variant(5));
  EXPECT_EQ(other.Store().Find(3, 3)->style, 2u);
}

TEST_F(SheetTest, InsertedRowsTakeTheHeightRowFormatAndCellFormatsOfTheRowAbove) {
  FillColumn(1, 1, 5);
  sheet.SetRowHeight(3, 30);
  sheet.EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(3, {true, 4, 1, true}); });
  sheet.Store().SetStyle(3, 2, 7);  // a currency cell, say
  sheet.Store().SetStyle(3, 200, 8);
  sheet.Store().SetStyle(3, 256, 9);
  sheet.Rows(4, 5).Insert();
  EXPECT_EQ(sheet.RowHeight(6), Sheet::kDefaultRowHeight) << "the row moved down keeps its own";
  EXPECT_EQ(sheet.Store().Find(6, 2), nullptr);
  for (int row : {4, 5}) {
    EXPECT_EQ(sheet.RowHeight(row), 30);
    EXPECT_EQ(*sheet.Layout().rowFormats.Find(row), (LineFormat{false, 4, 1, false}))
        << "styled and grouped as row 3, but shown; a collapsed group's mark stays below it";
    EXPECT_EQ(sheet.Store().Find(row, 2)->style, 7u);
    EXPECT_EQ(sheet.Store().Find(row, 200)->style, 8u);
    EXPECT_EQ(sheet.Store().Find(row, 256)->style, 9u);
    EXPECT_EQ(sheet.Store().Find(row, 1), nullptr) << "formats only, no content";
  }
  EXPECT_EQ(Get("A6"), Variant(4));
  sheet.Rows(1, 1).Insert();
  EXPECT_EQ(sheet.RowHeight(1), Sheet::kDefaultRowHeight) << "nothing above the first row";
  EXPECT_EQ(sheet.Store().Find(1, 1), nullptr);
}

TEST_F(SheetTest, WholeRowsInsertAndDeleteMoveCellsAndHeights) {
  FillColumn(1, 1, 5);
  sheet.SetRowHeight(4, 30);
  sheet.Rows(2, 3).Insert();
  EXPECT_EQ(Get("A1"), Variant(1));
  EXPECT_EQ(Get("A2"), Variant());
  EXPECT_EQ(Get("A4"), Variant(2));
  EXPECT_EQ(sheet.RowHeight(6), 30);
  sheet.Range("1:2,5:5").Delete();
  EXPECT_EQ(Get("A1"), Variant());
  EXPECT_EQ(Get("A2"), Variant(2));
  EXPECT_EQ(Get("A3"), Variant(4));
  EXPECT_EQ(Get("A4"), Variant(5));
  EXPECT_EQ(sheet.RowHeight(3), 30);
  EXPECT_EQ(ErrorOf([&] { At("A1:B2").Insert(); }), 1004);
  EXPECT_EQ(ErrorOf([&] { At("A1").Delete(); }), 1004);
  // Rows holding content at the bottom cannot be pushed off the sheet.
  Set("A65536", 1);
  EXPECT_EQ(ErrorOf([&] { sheet.Rows(1, 1).Insert(); }), 1004);
}

TEST_F(SheetTest, TheUsedAreaHoldsTheCellsWithContentAndFormatsOnlyWhenAsked) {
  using Cells = Sheet::UsedCells;
  EXPECT_EQ(sheet.UsedArea(), std::nullopt);
  sheet.Store().SetStyle(1, 1, 4);  // a format alone
  EXPECT_EQ(sheet.UsedArea(), std::nullopt);
  EXPECT_EQ(sheet.UsedArea(Cells::ContentAndFormats), (Area{1, 1, 1, 1}));
  Set("C5", 1);
  Set("B9", "=\"\"");
  EXPECT_EQ(sheet.UsedArea(), (Area{5, 2, 5, 2}));
  EXPECT_EQ(sheet.UsedArea(Cells::ContentAndFormats), (Area{1, 1, 9, 3}));
  // Deleting rows leaves no empty rows counted above what moved up.
  At("A1:C5").ClearContents();
  sheet.Store().SetStyle(1, 1, 0);
  Set("D1", 1);
  Set("D6", 6);
  sheet.Rows(1, 1).Delete();
  EXPECT_EQ(sheet.UsedArea(Cells::ContentAndFormats), (Area{5, 2, 4, 3}));
  Set("IV2", 1);
  EXPECT_EQ(sheet.UsedArea(), (Area{2, 2, 7, 255})) << "to the last column";
}

}  // namespace
}  // namespace tavrin
