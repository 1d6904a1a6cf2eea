#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "support/workplace.h"

namespace tavrin {
namespace {

// A list under a header row: names in A from row 2 to lastRow, the row number in B and 1 in C.
void PutList(Workplace& w, int lastRow) {
  w.Put("A1", {{"名称", "一", "二"}});
  for (int r = 2; r <= lastRow; ++r)
    w.Put("A" + std::to_string(r), {{"n" + std::to_string(r), r, 1}});
}

void RunPageSubtotals(Workplace& w, bool keepManualBreaks = false) {
  w.Fill({{"RefEdit1", "B2:C2"},
          {"RefEdit2", "A2"},
          {"TextBox1", "小计"},
          {"TextBox2", "合计"},
          {"CheckBox1", Variant::Boolean(keepManualBreaks)}});
  w.korvel().FYXJYHJ(w.Token(), w.form);
}

std::string Row(int row) {
  return std::to_string(row);
}

// The text a cell of column A shows, and a cell's formula in R1C1.
std::string Label(Workplace& w, int row) {
  return w.sheet().Range("A" + Row(row)).Text();
}
std::string R1C1At(Workplace& w, const std::string& address) {
  return w.sheet().Range(address).FormulaR1C1();
}

bool Hidden(const Sheet& sheet, int row) {
  const LineFormat* format = sheet.Layout().rowFormats.Find(row);
  return format != nullptr && format->hidden;
}

// A printed page: its first row and its last printed row.
struct PrintedPage {
  int first;
  int last;
};

// The pages of the sheet as its own HPageBreaks break them, down to the last row in use.
std::vector<PrintedPage> PrintedPages(Sheet& sheet) {
  HPageBreaks& breaks = sheet.HPageBreaks();
  std::vector<int> tops{1};
  for (int i = 1; i <= breaks.Count(); ++i) tops.push_back(breaks.Item(i).Location().Row());
  tops.push_back(sheet.UsedArea()->LastRow() + 1);
  std::vector<PrintedPage> pages;
  for (size_t p = 0; p + 1 < tops.size(); ++p) {
    int last = tops[p + 1] - 1;
    while (last > tops[p] && Hidden(sheet, last)) --last;
    pages.push_back({tops[p], last});
  }
  return pages;
}

// The rows labelled as a page's subtotal, top to bottom, and the grand-total row.
std::vector<int> SubtotalRows(Workplace& w, int totalRow) {
  std::vector<int> rows;
  for (int r = 1; r < totalRow; ++r) {
    if (Label(w, r) == "小计") rows.push_back(r);
  }
  return rows;
}

// The sound result: every printed page above the grand total ends with its subtotal row; the
// grand total's page ends with the last subtotal and the grand total (anything below the list,
// a note, may follow); no cell of the summed columns shows #REF!; the grand total adds the
// subtotals, which add the list.
void ExpectSubtotalAtTheFootOfEveryPage(Workplace& w, double listSum, const std::string& what) {
  ASSERT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"}) << what;
  Sheet& sheet = w.sheet();
  int totalRow = sheet.Range("A65536").End(xlUp).Row();
  ASSERT_EQ(Label(w, totalRow), "合计") << what;
  bool noteBelow = sheet.UsedArea()->LastRow() > totalRow;
  for (const PrintedPage& page : PrintedPages(sheet)) {
    if (page.first > totalRow) break;
    if (page.last < totalRow) {
      EXPECT_EQ(Label(w, page.last), "小计")
          << what << ": the page " << page.first << "-" << page.last;
      continue;
    }
    int above = totalRow - 1;
    while (Hidden(sheet, above)) --above;
    EXPECT_EQ(Label(w, above), "小计") << what;
    EXPECT_GE(above, page.first) << what << ": the last subtotal is on the grand total's page";
    if (!noteBelow) {
      EXPECT_EQ(page.last, totalRow) << what;
    }
  }
  double subtotals = 0;
  for (int row : SubtotalRows(w, totalRow)) subtotals += w.At("B" + Row(row)).AsNumber();
  for (int r = 1; r <= totalRow; ++r) {
    EXPECT_NE(sheet.Range("B" + Row(r)).Text(), "#REF!") << what << ": B" << r;
  }
  EXPECT_EQ(subtotals, listSum) << what;
  EXPECT_EQ(w.At("B" + Row(totalRow)), Variant(listSum)) << what;
}

// The sum of B over the list from row 2 to lastRow.
double ListSum(int lastRow) {
  return (2.0 + lastRow) * (lastRow - 1) / 2;
}

TEST(PageSubtotalsOnPages, RowsOfMixedHeightsGiveEveryPageItsSubtotal) {
  {
    // The second page holds rows 37 to 73. A row inserted at 73 takes the 20 points of row 72
    // where a 15-point row was, and the page no longer holds it: row 72 takes the subtotal.
    Workplace w;
    PutList(w, 109);
    for (int r = 1; r <= 109; ++r) w.sheet().SetRowHeight(r, r % 2 ? 20 : 15);
    RunPageSubtotals(w);
    ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(109), "20 and 15 points on Letter");
    EXPECT_EQ(R1C1At(w, "B36"), "=SUM(R[-34]C:R[-1]C)");
    EXPECT_EQ(R1C1At(w, "B72"), "=SUM(R[-35]C:R[-1]C)");
    EXPECT_EQ(Label(w, 73), "n71") << "the page's last two rows moved on";
    EXPECT_EQ(R1C1At(w, "B108"), "=SUM(R[-35]C:R[-1]C)");
    EXPECT_EQ(R1C1At(w, "B113"), "=SUM(R[-4]C:R[-1]C)");
    EXPECT_EQ(R1C1At(w, "B114"), "=SUM(R[-78]C,R[-42]C,R[-6]C,R[-1]C)");
  }
  {
    Workplace w;
    w.sheet().EditLayout([&](SheetLayout& layout) { layout.paperSize = SheetLayout::kPaperA4; });
    PutList(w, 541);
    for (int r = 1; r <= 541; ++r) w.sheet().SetRowHeight(r, r % 23 ? 13.5 : 21);
    RunPageSubtotals(w);
    ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(541), "13.5 points, every 23rd 21, on A4");
  }
}

TEST(PageSubtotalsOnPages, ASubtotalNeverLandsOnAHiddenRowAfterAFullPage) {
  Workplace w;
  PutList(w, 120);
  // Rows 1 to 50 fill the first page; hidden rows 51 and 52 stay with it.
  w.sheet().EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(51, {.hidden = true}); });
  w.sheet().EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(52, {.hidden = true}); });
  RunPageSubtotals(w);
  ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(120), "hidden rows after a full page");
  EXPECT_EQ(Label(w, 50), "小计");
  EXPECT_EQ(R1C1At(w, "B50"), "=SUM(R[-48]C:R[-1]C)");
  EXPECT_EQ(Label(w, 51), "n50") << "the page's last printed row moved on";
  EXPECT_TRUE(Hidden(w.sheet(), 52));
  EXPECT_TRUE(Hidden(w.sheet(), 53));
  EXPECT_EQ(Label(w, 52), "n51");
  EXPECT_EQ(w.sheet().HPageBreaks().Item(1).Location().Row(), 51);
}

TEST(PageSubtotalsOnPages, HeightsAndHiddenRowsInManyPatterns) {
  const std::vector<double> heights[] = {{15}, {20}, {13.5, 21}, {12.75, 40}, {30, 12.75, 12.75}};
  const int hiddenEvery[] = {0, 7, 50, 51};
  for (const std::vector<double>& pattern : heights) {
    for (int every : hiddenEvery) {
      for (bool keep : {false, true}) {
        Workplace w;
        PutList(w, 300);
        for (int r = 1; r <= 300; ++r) {
          w.sheet().SetRowHeight(r, pattern[r % pattern.size()]);
          if (every > 0 && r % every == 0)
            w.sheet().EditLayout(
                [&](SheetLayout& layout) { layout.rowFormats.Set(r, {.hidden = true}); });
        }
        w.sheet().EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {140}; });
        RunPageSubtotals(w, keep);
        ExpectSubtotalAtTheFootOfEveryPage(
            w, ListSum(300),
            "heights " + std::to_string(pattern.front()) + "/" + std::to_string(pattern.size()) +
                ", hidden every " + std::to_string(every) + (keep ? ", option set" : ""));
      }
    }
  }
}

TEST(PageSubtotalsOnPages, WithTheOptionAFullPageAtAManualBreakGivesUpItsLastRow) {
  Workplace w;
  PutList(w, 120);
  // The manual break ends a full page: no subtotal row fits below its 50 rows.
  w.sheet().EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {51}; });
  RunPageSubtotals(w, true);
  ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(120), "a full page at a manual break");
  EXPECT_EQ(Label(w, 50), "小计");
  EXPECT_EQ(Label(w, 51), "n50");
  EXPECT_EQ(w.sheet().HPageBreaks().Item(1).Type(), xlPageBreakManual);
}

TEST(PageSubtotalsOnPages, ALastPageWithoutRoomForTheFinalRowsGivesUpItsLastRow) {
  // 50 rows a page: the second page ends with the list's last row.
  Workplace w;
  PutList(w, 99);
  RunPageSubtotals(w);
  ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(99), "a full last page");
  EXPECT_EQ(R1C1At(w, "B50"), "=SUM(R[-48]C:R[-1]C)");
  EXPECT_EQ(R1C1At(w, "B100"), "=SUM(R[-49]C:R[-1]C)");
  EXPECT_EQ(Label(w, 101), "n99");
  EXPECT_EQ(R1C1At(w, "B102"), "=SUM(R[-1]C:R[-1]C)");
  EXPECT_EQ(R1C1At(w, "B103"), "=SUM(R[-53]C,R[-3]C,R[-1]C)");
}

TEST(PageSubtotalsOnPages, ARowTallerThanAPageKeepsItsPageAndItsSubtotalFollows) {
  Workplace w;
  PutList(w, 120);
  w.sheet().SetRowHeight(60, 700);
  RunPageSubtotals(w);
  ASSERT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  // The tall row (n60) keeps a page of its own; the subtotal below it is as tall and follows.
  EXPECT_EQ(Label(w, 63), "n60");
  EXPECT_EQ(Label(w, 64), "小计");
  EXPECT_EQ(R1C1At(w, "B64"), "=SUM(R[-1]C:R[-1]C)");
  int totalRow = w.sheet().Range("A65536").End(xlUp).Row();
  EXPECT_EQ(w.At("B" + Row(totalRow)), Variant(ListSum(120)));
  for (int r = 1; r <= totalRow; ++r) EXPECT_NE(w.sheet().Range("B" + Row(r)).Text(), "#REF!");
}

TEST(PageSubtotalsOnPages, ALastPageOfOneTallRowKeepsItAndTheFinalRowsFollow) {
  // The list's last row is taller than a page: the page before it ends with n49 and its
  // subtotal, and the last page holds n50 alone; its subtotal and the grand total follow it.
  Workplace w;
  PutList(w, 50);
  w.sheet().SetRowHeight(50, 700);
  RunPageSubtotals(w);
  ASSERT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  EXPECT_EQ(R1C1At(w, "B49"), "=SUM(R[-47]C:R[-1]C)");
  EXPECT_EQ(Label(w, 50), "n49");
  EXPECT_EQ(R1C1At(w, "B51"), "=SUM(R[-1]C:R[-1]C)");
  EXPECT_EQ(Label(w, 52), "n50");
  EXPECT_EQ(Label(w, 53), "小计");
  EXPECT_EQ(R1C1At(w, "B53"), "=SUM(R[-1]C:R[-1]C)");
  EXPECT_EQ(R1C1At(w, "B54"), "=SUM(R[-5]C,R[-3]C,R[-1]C)");
  EXPECT_EQ(w.At("B54"), Variant(ListSum(50)));
}

TEST(PageSubtotalsOnPages, ALastPageAmongBlankRowsBelowANoteSumsNothing) {
  Workplace w;
  PutList(w, 60);
  w.Put("F160", {{"注"}});
  RunPageSubtotals(w);
  // Pages of blank rows down to the note each get their subtotal; the last one, below the
  // lowest of them, holds no row to add.
  ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(60), "a note below the list");
  int totalRow = w.sheet().Range("A65536").End(xlUp).Row();
  EXPECT_EQ(R1C1At(w, "B" + Row(totalRow - 1)), "=0");
  EXPECT_EQ(w.At("B" + Row(totalRow - 1)), Variant(0.0));
}

TEST(PageSubtotalsOnPages, APageAboveTheListsFirstRowGetsNoSubtotal) {
  Workplace w;
  w.Put("A1", {{"说明"}});
  w.Put("A60", {{"名称", "一"}});
  for (int r = 61; r <= 80; ++r) w.Put("A" + Row(r), {{"n" + Row(r), r}});
  w.Fill({{"RefEdit1", "B61"},
          {"RefEdit2", "A61"},
          {"TextBox1", "小计"},
          {"TextBox2", "合计"},
          {"CheckBox1", Variant::Boolean(false)}});
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  EXPECT_EQ(w.At("A50"), Variant()) << "the first page holds none of the list";
  EXPECT_EQ(R1C1At(w, "B81"), "=SUM(R[-20]C:R[-1]C)");
  EXPECT_EQ(R1C1At(w, "B82"), "=SUM(R[-1]C)");
}

// Sheets of random heights, hidden rows, paper, title rows, manual breaks, notes below the list
// and either setting of the option.
TEST(PageSubtotalsOnPages, RandomSheetsFinishWithASubtotalAtTheFootOfEveryPage) {
  const double heights[] = {12.75, 15, 20, 13.5, 21, 30, 40};
  for (unsigned seed = 1; seed <= 150; ++seed) {
    std::mt19937 draw(seed);
    Workplace w;
    int lastRow = 20 + static_cast<int>(draw() % 300);
    PutList(w, lastRow);
    Sheet& sheet = w.sheet();
    int heightMode = static_cast<int>(draw() % 3);
    unsigned hiddenOneIn = 5 + draw() % 40;
    if (draw() % 2)
      sheet.EditLayout([&](SheetLayout& layout) { layout.paperSize = SheetLayout::kPaperA4; });
    for (int r = 2; r <= lastRow; ++r) {
      if (heightMode == 1 && draw() % 5 == 0) sheet.SetRowHeight(r, heights[draw() % 7]);
      if (heightMode == 2) sheet.SetRowHeight(r, heights[draw() % 7]);
      if (draw() % hiddenOneIn == 0)
        sheet.EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(r, {.hidden = true}); });
    }
    if (draw() % 3 == 0) w.Put("F" + Row(lastRow + 50 + static_cast<int>(draw() % 100)), {{"注"}});
    if (draw() % 4 == 0)
      sheet.EditLayout([&](SheetLayout& layout) {
        layout.manualRowBreaks = {5 + static_cast<int>(draw() % lastRow)};
      });
    if (draw() % 4 == 0) sheet.PageSetup().SetPrintTitleRows("$1:$1");
    RunPageSubtotals(w, draw() % 2);
    ExpectSubtotalAtTheFootOfEveryPage(w, ListSum(lastRow), "seed " + std::to_string(seed));
  }
}

}  // namespace
}  // namespace tavrin
