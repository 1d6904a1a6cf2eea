#include <vector>

#include "sheet_fixture.h"
#include "spreadsheet/paging.h"

namespace tavrin {
namespace {

// Pages of Letter paper; the default paper has a test of its own.
class PagingTest : public SheetTest {
 protected:
  void SetUp() override {
    sheet.EditLayout([&](SheetLayout& layout) { layout.paperSize = SheetLayout::kPaperLetter; });
  }

  HPageBreaks& breaks = sheet.HPageBreaks();

  // The first rows of the pages after the first, with M for a manual break.
  std::vector<std::pair<int, bool>> Breaks() {
    std::vector<std::pair<int, bool>> found;
    for (int i = 1; i <= breaks.Count(); ++i) {
      found.emplace_back(breaks.Item(i).Location().Row(),
                         breaks.Item(i).Type() == xlPageBreakManual);
    }
    return found;
  }
  using Found = std::vector<std::pair<int, bool>>;
};

TEST_F(PagingTest, ALetterPageHoldsFiftyRowsOverTheUsedRowsOnly) {
  EXPECT_DOUBLE_EQ(PrintableHeight(sheet.Layout()), 648);
  EXPECT_EQ(breaks.Count(), 0) << "an empty sheet has no pages to break";
  FillColumn(1, 1, 50);
  EXPECT_EQ(breaks.Count(), 0) << "50 rows fit one page";
  Set("C51", "x");
  EXPECT_EQ(Breaks(), (Found{{51, false}}));
  FillColumn(1, 1, 160);
  EXPECT_EQ(Breaks(), (Found{{51, false}, {101, false}, {151, false}}));
  EXPECT_EQ(breaks.Item(1).Location().Column(), 1);
  EXPECT_EQ(ErrorOf([&] { breaks.Item(4); }), 9);
  EXPECT_EQ(ErrorOf([&] { breaks.Item(0); }), 9);
}

TEST_F(PagingTest, HeightsScalePaperAndMarginsDecideTheRowsAPageTakes) {
  FillColumn(1, 1, 200);
  sheet.SetRowHeight(10, 12.75 * 11);  // ten rows' more height
  EXPECT_EQ(breaks.Item(1).Location().Row(), 41);
  sheet.SetRowHeight(30, 700);  // taller than a page: a page of its own
  EXPECT_EQ(Breaks(), (Found{{30, false}, {31, false}, {81, false}, {131, false}, {181, false}}));
  sheet.SetRowHeight(10, 12.75);
  sheet.SetRowHeight(30, 12.75);
  sheet.EditLayout([&](SheetLayout& layout) { layout.scale = 50; });
  EXPECT_EQ(Breaks(), (Found{{102, false}})) << "half size: 101 rows a page";
  sheet.EditLayout([&](SheetLayout& layout) { layout.scale = 100; });
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.orientation = PageOrientation::Landscape;
  });  // 612 - 144 = 468 points
  EXPECT_EQ(breaks.Item(1).Location().Row(), 37);
  sheet.EditLayout([&](SheetLayout& layout) { layout.orientation = PageOrientation::Portrait; });
  sheet.EditLayout([&](SheetLayout& layout) { layout.margins.top = 0.5; });
  sheet.EditLayout([&](SheetLayout& layout) { layout.margins.bottom = 0.5; });  // 720 points
  EXPECT_EQ(breaks.Item(1).Location().Row(), 57);
  sheet.EditLayout(
      [&](SheetLayout& layout) { layout.paperSize = SheetLayout::kPaperA4; });  // 841.89 - 72
  EXPECT_EQ(breaks.Item(1).Location().Row(), 61);
}

TEST_F(PagingTest, HiddenRowsTakeNoRoomAndStayWithThePageAboveThem) {
  FillColumn(1, 1, 150);
  for (int r = 10; r <= 19; ++r)
    sheet.EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(r, {.hidden = true}); });
  EXPECT_EQ(Breaks(), (Found{{61, false}, {111, false}}));
  for (int r = 61; r <= 65; ++r)
    sheet.EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(r, {.hidden = true}); });
  EXPECT_EQ(Breaks(), (Found{{66, false}, {116, false}}))
      << "hidden rows after a full page belong to it: the next page starts with a printed row";
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.rowFormats.Set(20, {.style = 3});
  });  // a format alone leaves the row its room
  sheet.SetRowHeight(66, 700);
  EXPECT_EQ(Breaks(), (Found{{66, false}, {67, false}, {117, false}}));
  sheet.PageSetup().SetPrintTitleRows("$10:$11");
  EXPECT_EQ(Breaks(), (Found{{66, false}, {67, false}, {117, false}}))
      << "hidden title rows take no room either";
}

TEST_F(PagingTest, TheSheetsDefaultRowHeightPagesEveryRowWithoutOneOfItsOwn) {
  FillColumn(1, 1, 100);
  sheet.SetDefaultRowHeight(15);
  EXPECT_EQ(sheet.RowHeight(7), 15);
  EXPECT_EQ(Breaks(), (Found{{44, false}, {87, false}})) << "43 rows of 15 points a page";
  for (int r = 1; r <= 10; ++r) sheet.SetRowHeight(r, 12.75);
  EXPECT_EQ(breaks.Item(1).Location().Row(), 45) << "10 rows of 12.75 and 34 of 15";
  sheet.Copy(sheet);
  Sheet& copy = book.GetActiveSheet();
  EXPECT_EQ(copy.DefaultRowHeight(), 15);
  EXPECT_EQ(copy.HPageBreaks().Item(1).Location().Row(), 45);
}

TEST_F(PagingTest, ManualBreaksRestartTheCountingAndTitleRowsRepeat) {
  FillColumn(1, 1, 200);
  sheet.EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {21}; });
  EXPECT_EQ(Breaks(), (Found{{21, true}, {71, false}, {121, false}, {171, false}}));
  sheet.EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {}; });
  // Two title rows: the first page holds them anyway, the later ones 48 rows and the titles.
  sheet.PageSetup().SetPrintTitleRows("1:2");
  EXPECT_EQ(Breaks(), (Found{{51, false}, {99, false}, {147, false}, {195, false}}));
  sheet.SetRowHeight(2, 12.75 * 3);
  EXPECT_EQ(breaks.Item(2).Location().Row(), 49 + 46);
  sheet.EditLayout([&](SheetLayout& layout) { layout.printArea = "$A$101:$C$180"; });
  sheet.SetRowHeight(2, 12.75);
  EXPECT_EQ(Breaks(), (Found{{149, false}})) << "the print area's rows are paged";
}

TEST_F(PagingTest, LocationSetMakesTheBreakManualAndDragOffRemovesOnlyManualBreaks) {
  FillColumn(1, 1, 120);
  breaks.Item(1).SetLocation(sheet.Rows(40, 40));
  EXPECT_EQ(Breaks(), (Found{{40, true}, {90, false}}));
  EXPECT_EQ(sheet.Layout().manualRowBreaks, std::vector<int>{40});
  breaks.Item(1).SetLocation(sheet.Rows(30, 30));
  EXPECT_EQ(sheet.Layout().manualRowBreaks, std::vector<int>{30}) << "the old one goes";

  HostError refused(0, "");
  try {
    breaks.Item(2).DragOff(xlUp, 1);
  } catch (const HostError& error) {
    refused = error;
  }
  EXPECT_EQ(refused.Number(), 1004);
  EXPECT_EQ(refused.Description(), "HPageBreak 类的 DragOff 方法无效");
  breaks.Item(1).DragOff(xlUp, 1);
  EXPECT_EQ(Breaks(), (Found{{51, false}, {101, false}}));
}

TEST_F(PagingTest, InsertingAndDeletingRowsMovesBreaksMergesPrintAreaAndTitles) {
  FillColumn(1, 1, 120);
  sheet.EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {30, 60}; });
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.mergedCells = {Area{10, 1, 3, 2}, Area{40, 2, 2, 1}};
  });
  sheet.EditLayout([&](SheetLayout& layout) { layout.printArea = "$A$5:$C$100"; });
  sheet.PageSetup().SetPrintTitleRows("$5:$6");

  sheet.Rows(11, 12).Insert();
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{32, 62}));
  EXPECT_EQ(sheet.Layout().mergedCells, (std::vector<Area>{{10, 1, 5, 2}, {42, 2, 2, 1}}))
      << "an insertion inside a merge makes it taller";
  EXPECT_EQ(sheet.Layout().printArea, "$A$5:$C$102");
  EXPECT_EQ(sheet.PageSetup().PrintTitleRows(), "$5:$6");
  sheet.Rows(1, 1).Insert();
  EXPECT_EQ(sheet.PageSetup().PrintTitleRows(), "$6:$7");
  EXPECT_EQ(Breaks().front(), (std::pair<int, bool>{33, true}));

  sheet.Rows("33:34").Delete(xlShiftUp);
  EXPECT_EQ(sheet.Layout().manualRowBreaks, std::vector<int>{61}) << "a deleted row's break goes";
  sheet.Rows("41:50").Delete(xlShiftUp);
  EXPECT_EQ(sheet.Layout().mergedCells, (std::vector<Area>{{11, 1, 5, 2}}));
  EXPECT_EQ(sheet.Layout().manualRowBreaks, std::vector<int>{51});
  EXPECT_EQ(sheet.Layout().printArea, "$A$6:$C$91");
  sheet.Rows("1:7").Delete(xlShiftUp);
  EXPECT_EQ(sheet.PageSetup().PrintTitleRows(), "") << "every title row deleted";
  EXPECT_EQ(sheet.Layout().printArea, "$A$1:$C$84");
}

TEST_F(PagingTest, RowsMovedAtTheEdgesOfPrintAreasMergesAndBreaks) {
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.printArea = "$A$5:$B$6,$A$10:$B$12";
    layout.mergedCells = {Area{20, 1, 2, 1}, Area{30, 1, 3, 1}};
    layout.manualRowBreaks = {6, 40, 43, 65535};
  });
  sheet.Rows(5, 5).Insert();  // at the first row of the print area
  EXPECT_EQ(sheet.Layout().printArea, "$A$6:$B$7,$A$11:$B$13");
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{7, 41, 44, 65536}));
  sheet.Rows(13, 13).Insert();  // at the last row of its second area
  EXPECT_EQ(sheet.Layout().printArea, "$A$6:$B$7,$A$11:$B$14");
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{7, 42, 45})) << "off the sheet";
  sheet.Rows("42:44").Delete(xlShiftUp);
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{7, 42}));
  sheet.Rows("22:22").Delete(xlShiftUp);
  EXPECT_EQ(sheet.Layout().mergedCells, (std::vector<Area>{{31, 1, 3, 1}})) << "one cell left";
  sheet.Rows("9:11").Delete(xlShiftUp);  // up to the area's first row
  EXPECT_EQ(sheet.Layout().printArea, "$A$6:$B$7,$A$9:$B$11");
  sheet.Rows("1:6").Delete(xlShiftUp);
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{32})) << "none on the first row";
  EXPECT_EQ(sheet.Layout().printArea, "$A$1:$B$1,$A$3:$B$5");
}

TEST_F(PagingTest, BreaksFollowTheCellsAsTheyChange) {
  FillColumn(1, 1, 100);
  EXPECT_EQ(breaks.Count(), 1);
  HPageBreak& first = breaks.Item(1);
  sheet.Rows(1, 10).Insert();
  EXPECT_EQ(breaks.Count(), 2);
  EXPECT_EQ(first.Location().Row(), 51) << "an item reads the break now at its number";
  sheet.Rows(1, 30).Delete(xlShiftUp);
  EXPECT_EQ(breaks.Count(), 1);
  EXPECT_EQ(ErrorOf([&] { breaks.Item(1).DragOff(xlUp, 1); }), 1004);
}

TEST_F(PagingTest, WholeRowsPastedAsFormatsTakeTheStylesAndHeights) {
  sheet.Store().SetStyle(3, 2, 7);
  sheet.SetRowHeight(3, 20);
  Set("B3", 5);
  sheet.Rows(3, 3).Copy();
  sheet.Rows("5:6").PasteSpecial(xlPasteFormats, xlPasteSpecialOperationNone, false, false);
  for (int row : {5, 6}) {
    ASSERT_NE(sheet.Store().Find(row, 2), nullptr);
    EXPECT_EQ(sheet.Store().Find(row, 2)->style, 7u);
    EXPECT_FALSE(sheet.Store().Find(row, 2)->HasContent());
    EXPECT_DOUBLE_EQ(sheet.RowHeight(row), 20);
  }
  EXPECT_DOUBLE_EQ(sheet.RowHeight(4), Sheet::kDefaultRowHeight);
}

TEST_F(PagingTest, ACopiedSheetKeepsItsPageSetupAndBreaks) {
  FillColumn(1, 1, 120);
  sheet.EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {20}; });
  sheet.PageSetup().SetPrintTitleRows("$1:$1");
  sheet.SetRowHeight(5, 30);
  sheet.Copy(sheet);
  Sheet& copy = book.GetActiveSheet();
  EXPECT_EQ(copy.Name(), "Sheet1 (2)");
  EXPECT_EQ(copy.PageSetup().PrintTitleRows(), "$1:$1");
  EXPECT_DOUBLE_EQ(copy.RowHeight(5), 30);
  EXPECT_EQ(copy.HPageBreaks().Count(), breaks.Count());
  EXPECT_EQ(copy.HPageBreaks().Item(1).Type(), xlPageBreakManual);
  copy.Rows(1, 1).Insert();
  EXPECT_EQ(sheet.Layout().manualRowBreaks, std::vector<int>{20}) << "the original stays";
}

TEST_F(PagingTest, EveryPaperCodePagesOnItsOwnSize) {
  FillColumn(1, 1, 200);
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.paperSize = 12;
  });  // B4 (JIS): 364 mm, 887.8 points between the margins
  EXPECT_EQ(breaks.Item(1).Location().Row(), 70);
  sheet.EditLayout(
      [&](SheetLayout& layout) { layout.paperSize = 7; });  // Executive: 10.5 inches, 612 points
  EXPECT_EQ(breaks.Item(1).Location().Row(), 49);
  sheet.EditLayout(
      [&](SheetLayout& layout) { layout.paperSize = 3; });  // Tabloid: 17 inches, 1080 points
  EXPECT_EQ(breaks.Item(1).Location().Row(), 85);
  sheet.EditLayout(
      [&](SheetLayout& layout) { layout.paperSize = 99; });  // no paper of the host's: Letter
  EXPECT_EQ(breaks.Item(1).Location().Row(), 51);
}

TEST_F(PagingTest, PrintedHeadingsTakeARowOfEveryPage) {
  FillColumn(1, 1, 120);
  sheet.EditLayout([&](SheetLayout& layout) { layout.printHeadings = true; });
  EXPECT_EQ(Breaks(), (Found{{50, false}, {99, false}}));
}

TEST_F(PagingTest, FitToPagesPagesAtTheScaleThatFits) {
  FillColumn(1, 1, 100);
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToPage = true; });
  EXPECT_EQ(breaks.Count(), 0) << "100 rows on one page at half size";
  FillColumn(1, 1, 160);
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToHeight = 2; });
  EXPECT_EQ(Breaks(), (Found{{81, false}})) << "63%: 80 rows a page";
  sheet.EditLayout(
      [&](SheetLayout& layout) { layout.fitToHeight = 0; });  // as tall as it takes, one page wide
  EXPECT_EQ(Breaks(), (Found{{51, false}, {101, false}, {151, false}})) << "column A fits at 100%";
  Set("Z1", "wide");  // 26 columns of 48 points
  int across = static_cast<int>(100 * PrintableWidth(sheet.Layout()) / (26 * 48));
  std::vector<std::pair<int, bool>> fitted = Breaks();
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToPage = false; });
  sheet.EditLayout([&](SheetLayout& layout) { layout.scale = across; });
  EXPECT_EQ(fitted, Breaks()) << across << "%";
  EXPECT_LT(fitted.size(), 3U);
}

// Each part of the setup on its own changes the breaks already read.
TEST_F(PagingTest, BreaksReadAgainFollowEachChangeOfTheSetupAlone) {
  FillColumn(1, 1, 120);
  EXPECT_EQ(Breaks(), (Found{{51, false}, {101, false}}));
  sheet.PageSetup().SetPrintTitleRows("$1:$1");
  EXPECT_EQ(Breaks(), (Found{{51, false}, {100, false}})) << "the first page holds the title";
  sheet.PageSetup().SetPrintTitleRows("");
  EXPECT_EQ(Breaks(), (Found{{51, false}, {101, false}}));
  sheet.EditLayout([&](SheetLayout& layout) { layout.scale = 50; });
  EXPECT_EQ(Breaks(), (Found{{102, false}}));
  sheet.EditLayout([&](SheetLayout& layout) { layout.scale = 100; });
  EXPECT_EQ(breaks.Item(1).Location().Row(), 51);
  sheet.SetRowHeight(1, 12.75 * 11);
  EXPECT_EQ(Breaks(), (Found{{41, false}, {91, false}}));
  sheet.SetRowHeight(1, 12.75);
  EXPECT_EQ(breaks.Item(1).Location().Row(), 51);
  sheet.EditLayout([&](SheetLayout& layout) { layout.orientation = PageOrientation::Landscape; });
  EXPECT_EQ(breaks.Item(1).Location().Row(), 37);
  sheet.EditLayout([&](SheetLayout& layout) { layout.orientation = PageOrientation::Portrait; });
  EXPECT_EQ(breaks.Item(1).Location().Row(), 51);
  sheet.EditLayout([&](SheetLayout& layout) { layout.printHeadings = true; });
  EXPECT_EQ(breaks.Item(1).Location().Row(), 50);
  sheet.EditLayout([&](SheetLayout& layout) { layout.printHeadings = false; });
  EXPECT_EQ(breaks.Item(1).Location().Row(), 51);
  sheet.EditLayout([&](SheetLayout& layout) { layout.printArea = "$A$1:$A$60"; });
  EXPECT_EQ(Breaks(), (Found{{51, false}}));
  sheet.EditLayout([&](SheetLayout& layout) { layout.printArea = ""; });
  EXPECT_EQ(breaks.Count(), 2);
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToPage = true; });
  EXPECT_EQ(breaks.Count(), 0);
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToHeight = 0; });
  EXPECT_EQ(breaks.Count(), 2);
  Set("Z1", "wide");
  int wide = breaks.Count();
  EXPECT_LT(wide, 2);
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToWidth = 2; });
  EXPECT_EQ(breaks.Count(), 1) << "two pages wide: 80%";
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToWidth = 1; });
  EXPECT_EQ(breaks.Count(), wide);
  for (int c = 2; c <= 26; ++c) sheet.SetColumnWidth(c, 1);
  EXPECT_EQ(breaks.Count(), 2) << "narrow columns fit at 100%";
}

TEST_F(PagingTest, FitToPagesShrinksToATenthAtMostAndMayTakeTheHeightAlone) {
  FillColumn(1, 1, 1200);
  sheet.EditLayout([&](SheetLayout& layout) { layout.fitToPage = true; });
  EXPECT_EQ(Breaks(), (Found{{509, false}, {1017, false}})) << "at 10%: 508 rows a page";
  At("A161:A1200").ClearContents();
  Set("Z1", "wide");
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.fitToWidth = 0;  // as wide as it takes
    layout.fitToHeight = 2;
  });
  EXPECT_EQ(Breaks(), (Found{{81, false}})) << "63%, as for column A alone";
  sheet.EditLayout([&](SheetLayout& layout) {
    layout.fitToWidth = 1;
    layout.printArea = "$A$1:$A$160";
  });
  EXPECT_EQ(Breaks(), (Found{{81, false}})) << "the print area's columns only";
}

TEST_F(PagingTest, TitleRowsFillingThePageAreNotRepeated) {
  FillColumn(1, 1, 100);
  sheet.SetRowHeight(1, 324);
  sheet.SetRowHeight(2, 324);
  sheet.PageSetup().SetPrintTitleRows("$1:$2");
  EXPECT_EQ(Breaks(), (Found{{3, false}, {53, false}}));
  EXPECT_DOUBLE_EQ(PrintableWidth(sheet.Layout()) + 2.5 * 72, [&] {
    SheetLayout turned = sheet.Layout();
    turned.orientation = PageOrientation::Landscape;
    return PrintableWidth(turned);
  }());
}

TEST_F(PagingTest, ABreakMovesToAnyRowButTheFirstOfItsOwnSheet) {
  FillColumn(1, 1, 120);
  sheet.EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {60}; });
  breaks.Item(1).SetLocation(sheet.Rows(2, 2));  // the automatic break at 51
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{2, 60}));
  EXPECT_EQ(Breaks(), (Found{{2, true}, {52, false}, {60, true}, {110, false}}));
  breaks.Item(4).SetLocation(sheet.Rows(60, 60));
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{2, 60})) << "already a break";
  EXPECT_EQ(ErrorOf([&] { breaks.Item(1).SetLocation(sheet.Rows(1, 1)); }), 1004);
  Sheet& other = book.AddSheet("Sheet2");
  EXPECT_EQ(ErrorOf([&] { breaks.Item(1).SetLocation(other.Rows(5, 5)); }), 1004);
}

TEST(DefaultPaperTest, ASheetNamingNoPaperPagesOnTheLocalesPaper) {
  for (auto [paper, rows] :
       {std::pair{SheetLayout::kPaperA4, 54}, {SheetLayout::kPaperLetter, 50}}) {
    Spreadsheet app(UserLocale{.defaultPaper = paper});
    Sheet& sheet = app.AddWorkbook("Book1").AddSheet("Sheet1");
    for (int r = 1; r <= 120; ++r) sheet.Cells(r, 1).SetValue(Variant(r));
    EXPECT_EQ(sheet.HPageBreaks().Item(1).Location().Row(), rows + 1) << paper;
  }
  Spreadsheet chinese;
  EXPECT_EQ(chinese.Locale().defaultPaper, SheetLayout::kPaperA4) << "A4 unless the locale says";
}

}  // namespace
}  // namespace tavrin
