#include <gtest/gtest.h>

#include "support/workplace.h"

namespace tavrin {
namespace {

// A list in A:D from row 3 to lastRow under a title row and a header row: names in A, numbers in
// B to D.
void PutPagedList(Workplace& w, int lastRow) {
  w.Put("A1", {{"报表"}, {"名称", "一", "二", "三"}});
  for (int r = 3; r <= lastRow; ++r)
    w.Put("A" + std::to_string(r), {{"n" + std::to_string(r), r, 2 * r, 3 * r}});
}

void FillDialog(Workplace& w, const char* data, const char* labels, bool keepManualBreaks) {
  w.Fill({{"RefEdit1", data},
          {"RefEdit2", labels},
          {"TextBox1", "小计"},
          {"TextBox2", "合计"},
          {"CheckBox1", Variant::Boolean(keepManualBreaks)}});
}

std::string R1C1(Workplace& w, const std::string& address) {
  return w.sheet().Range(address).FormulaR1C1();
}

TEST(PageSubtotals, PastTwoHundredFiftyFivePagesTheGrandTotalSumsGroupsOf255) {
  Workplace w;
  PutPagedList(w, 14000);
  FillDialog(w, "B3:B3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  ASSERT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  Range last = w.sheet().Range("A65536").End(xlUp);
  ASSERT_EQ(w.At("A" + std::to_string(last.Row())), Variant("合计"));
  std::string total = last.Offset(0, 1).FormulaR1C1();
  EXPECT_TRUE(total.starts_with("=SUM(SUM(R[")) << total.substr(0, 40);
  EXPECT_NE(total.find("]C),SUM(R["), std::string::npos);
  EXPECT_TRUE(total.ends_with("R[-1]C))")) << total.substr(total.size() - 40);
  EXPECT_EQ(last.Offset(0, 1).Value(), Variant((3.0 + 14000) * 13998 / 2));
}

TEST(PageSubtotals, TwoHundredFiftyFivePagesNeedNoGroups) {
  Workplace w;
  PutPagedList(w, 12456);  // 47 rows on the first page, 49 on 253 more, 10 on the last
  FillDialog(w, "B3:B3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  ASSERT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  Range last = w.sheet().Range("A65536").End(xlUp);
  int subtotals = 0;
  for (int r = 1; r < last.Row(); ++r)
    subtotals += w.At("A" + std::to_string(r)) == Variant("小计");
  ASSERT_EQ(subtotals, 255);
  std::string total = last.Offset(0, 1).FormulaR1C1();
  EXPECT_TRUE(total.starts_with("=SUM(R[")) << total.substr(0, 40);
  EXPECT_EQ(total.find("SUM(", 2), std::string::npos) << "one SUM of 255 terms";
}

// The value of every row of column B labelled as a subtotal above the grand-total row.
double SumOfSubtotals(Workplace& w, int totalRow) {
  double sum = 0;
  for (int r = 1; r < totalRow; ++r) {
    if (w.At("A" + std::to_string(r)) == Variant("小计")) {
      sum += w.At("B" + std::to_string(r)).AsNumber();
    }
  }
  return sum;
}

TEST(PageSubtotals, TheListedGrandTotalIsKeptWhileItFitsInAFormula) {
  Workplace w;
  PutPagedList(w, 37382);
  FillDialog(w, "B3:B3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  Range last = w.sheet().Range("A65536").End(xlUp);
  std::string total = last.Offset(0, 1).FormulaR1C1();
  EXPECT_EQ(total.size(), 8187u);
  EXPECT_TRUE(total.starts_with("=SUM(SUM(R[-38096]C,R[-38046]C,")) << total.substr(0, 40);
  EXPECT_EQ(last.Offset(0, 1).Value(), Variant((3.0 + 37382) * 37380 / 2));
}

TEST(PageSubtotals, PastTheLongestFormulaTheGrandTotalIsHalfOfTheListAndItsSubtotals) {
  Workplace w;
  PutPagedList(w, 45000);
  FillDialog(w, "B3:C3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  ASSERT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  int totalRow = w.sheet().Range("A65536").End(xlUp).Row();
  // 918 full pages, then 18 rows on the last: the grand total is row 45000 + 918 + 2.
  ASSERT_EQ(totalRow, 45920);
  EXPECT_EQ(R1C1(w, "B45920"), "=SUM(R[-45917]C:R[-1]C)/2");
  EXPECT_EQ(R1C1(w, "C45920"), "=SUM(R[-45917]C:R[-1]C)/2");
  EXPECT_EQ(w.At("B45920"), Variant(SumOfSubtotals(w, totalRow)));
  EXPECT_EQ(w.At("B45920"), Variant((3.0 + 45000) * 44998 / 2));
}

TEST(PageSubtotals, AListThatCannotTakeItsSubtotalRowsIsRefusedBeforeTheCopy) {
  Workplace w;
  w.Put("A1", {{"名称", "金额"}});
  for (int r = 2; r <= kLastRow; ++r) w.Put("A" + std::to_string(r), {{"n", r}});
  FillDialog(w, "B2:B2", "A2", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), std::vector<std::string>{"数据行数过多，每页加入小计行后将超出第65536行！"});
  EXPECT_EQ(w.Titles(), std::vector<std::string>{"Lumo提示"});
  EXPECT_EQ(w.book().SheetCount(), 1) << "no copy";
  EXPECT_FALSE(w.korvel().RunFinished());
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(PageSubtotals, AListWithExactlyRoomForARowAtEachOfItsBreaksIsWorkedOn) {
  Workplace w;
  // Pages of 50 rows; with row 10 hidden the breaks come a row later, so that the list, a row
  // for each of its page breaks and the grand total would fill the sheet. (With a subtotal on
  // every page, the pages hold fewer list rows and more of them: the copy then runs out of
  // rows, which the run reports.)
  PutPagedList(w, 64251);
  w.sheet().EditLayout([](SheetLayout& layout) { layout.rowFormats.Set(10, {.hidden = true}); });
  HPageBreaks& breaks = w.sheet().HPageBreaks();
  ASSERT_EQ(64251 + breaks.Count() + 1, kLastRow);
  FillDialog(w, "B3:B3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_NE(w.Texts().front(), "数据行数过多，每页加入小计行后将超出第65536行！");
  EXPECT_EQ(w.book().SheetCount(), 2) << "the copy made";

  // Without the hidden row the breaks come a row sooner, one more of them, every one counted:
  // a row too many.
  Workplace more;
  PutPagedList(more, 64251);
  ASSERT_EQ(64251 + more.sheet().HPageBreaks().Count() + 1, kLastRow + 1);
  FillDialog(more, "B3:B3", "A3", false);
  more.korvel().FYXJYHJ(more.Token(), more.form);
  EXPECT_EQ(more.Texts(),
            std::vector<std::string>{"数据行数过多，每页加入小计行后将超出第65536行！"});
}

// A manual break at the list's first row is no break inside the list: it takes no row.
TEST(PageSubtotals, ABreakAtTheListsFirstRowTakesNoRowOfTheRoomBelow) {
  Workplace w;
  PutPagedList(w, 64251);
  w.sheet().EditLayout([](SheetLayout& layout) { layout.manualRowBreaks = {3}; });
  HPageBreaks& breaks = w.sheet().HPageBreaks();
  ASSERT_EQ(breaks.Item(1).Location().Row(), 3);
  ASSERT_EQ(64251 + (breaks.Count() - 1) + 1, kLastRow) << "every break below row 3";
  FillDialog(w, "B3:B3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_NE(w.Texts().front(), "数据行数过多，每页加入小计行后将超出第65536行！");
  EXPECT_EQ(w.book().SheetCount(), 2) << "the copy made";
}

TEST(PageSubtotals, TheFinalRowsTakeTheFormatsOfTheLastDataRowAndNoRowBelowThem) {
  Workplace w;
  PutPagedList(w, 10);
  w.sheet().Store().SetStyle(10, 2, 9);  // only the last data row shows currency in B
  w.sheet().Store().SetStyle(13, 2, 5);  // a format below the list, moved down by the final rows
  FillDialog(w, "B3:C3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  ASSERT_EQ(w.At("A12"), Variant("合计"));
  auto styleOfB = [&](int row) {
    const Cell* cell = w.sheet().Store().Find(row, 2);
    return cell == nullptr ? 0u : cell->style;
  };
  EXPECT_EQ(styleOfB(9), 0u);
  EXPECT_EQ(styleOfB(11), 9u) << "the subtotal row";
  EXPECT_EQ(styleOfB(12), 9u) << "the grand-total row";
  EXPECT_EQ(styleOfB(13), 0u);
  EXPECT_EQ(styleOfB(15), 5u);
}

TEST(PageSubtotals, WorkedExampleOnACopyWithTheRefusedDragOffIgnored) {
  Workplace w;
  PutPagedList(w, 120);
  // Two title rows: the pages after the first hold 48 rows, so the second break comes above
  // row 99; the last break is automatic, so dragging it off is refused.
  w.sheet().PageSetup().SetPrintTitleRows("$1:$2");
  w.sheet().Store().SetStyle(120, 2, 5);
  FillDialog(w, "B3:D3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);

  EXPECT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  EXPECT_EQ(w.Titles(), std::vector<std::string>{"Lumo提示"});
  ASSERT_EQ(w.sheet().Name(), "Sheet1 (2)");
  for (const char* column : {"B", "C", "D"}) {
    std::string c = column;
    EXPECT_EQ(R1C1(w, c + "50"), "=SUM(R[-47]C:R[-1]C)");
    EXPECT_EQ(R1C1(w, c + "98"), "=SUM(R[-47]C:R[-1]C)");
    EXPECT_EQ(R1C1(w, c + "123"), "=SUM(R[-24]C:R[-1]C)");
    EXPECT_EQ(R1C1(w, c + "124"), "=SUM(R[-74]C,R[-26]C,R[-1]C)");
  }
  EXPECT_EQ(w.At("A50"), Variant("小计"));
  EXPECT_EQ(w.At("A98"), Variant("小计"));
  EXPECT_EQ(w.At("A123"), Variant("小计"));
  EXPECT_EQ(w.At("A124"), Variant("合计"));
  EXPECT_EQ(w.At("B124"), Variant((3.0 + 120) * 118 / 2)) << "the grand total sums every row";
  EXPECT_EQ(w.At("C50"), Variant(2.0 * (3 + 49) * 47 / 2));
  EXPECT_EQ(w.At("A51"), Variant("n50")) << "the page's last row moved onto the next page";
  EXPECT_EQ(w.At("A122"), Variant("n120"));

  HPageBreaks& breaks = w.sheet().HPageBreaks();
  ASSERT_EQ(breaks.Count(), 2);
  EXPECT_EQ(breaks.Item(1).Location().Row(), 51);
  EXPECT_EQ(breaks.Item(2).Location().Row(), 99);
  EXPECT_EQ(breaks.Item(2).Type(), xlPageBreakManual);
  EXPECT_EQ(w.sheet().Store().Find(123, 2)->style, 5u) << "the final rows look like row 122";
  EXPECT_EQ(w.sheet().Store().Find(124, 2)->style, 5u);
  EXPECT_FALSE(w.app.CutCopyMode());

  Sheet& original = w.book().GetSheet("Sheet1");
  EXPECT_EQ(original.Range("A50").Value(), Variant("n50")) << "the user's sheet is untouched";
  EXPECT_EQ(original.HPageBreaks().Item(1).Type(), xlPageBreakAutomatic);
  EXPECT_EQ(w.app.ActiveWindow().View(), xlNormalView);
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_TRUE(w.app.ScreenUpdating());
}

TEST(PageSubtotals, HiddenRowsTakeNoRoomAndSubtotalRowsLookLikeTheRowAbove) {
  Workplace w;
  PutPagedList(w, 120);
  for (int r = 10; r <= 19; ++r)
    w.sheet().EditLayout([&](SheetLayout& layout) { layout.rowFormats.Set(r, {.hidden = true}); });
  for (int r = 3; r <= 120; ++r) w.sheet().Store().SetStyle(r, 2, 9);  // B in a currency format
  FillDialog(w, "B3:C3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);

  // Pages of 50 printed rows: rows 1 to 60 hold ten hidden ones.
  EXPECT_EQ(w.At("A60"), Variant("小计"));
  EXPECT_EQ(R1C1(w, "B60"), "=SUM(R[-57]C:R[-1]C)");
  EXPECT_EQ(w.At("A110"), Variant("小计"));
  EXPECT_EQ(R1C1(w, "B110"), "=SUM(R[-49]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B123"), "=SUM(R[-12]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B124"), "=SUM(R[-64]C,R[-14]C,R[-1]C)");
  for (int row : {60, 110, 123, 124}) {
    EXPECT_EQ(w.sheet().Store().Find(row, 2)->style, 9u) << "row " << row << " shows currency";
    EXPECT_EQ(w.sheet().Store().Find(row, 3)->style, 0u);
  }
  EXPECT_TRUE(w.sheet().Layout().rowFormats.Find(10)->hidden);
  EXPECT_EQ(w.sheet().Layout().rowFormats.Find(60), nullptr);
}

TEST(PageSubtotals, OnePageGetsItsSubtotalAndAGrandTotalOfOneTerm) {
  Workplace w;
  PutPagedList(w, 10);
  w.app.ActiveWindow().SetView(xlPageBreakPreview);
  FillDialog(w, "B3:C3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), std::vector<std::string>{"运行完毕"});
  EXPECT_EQ(R1C1(w, "B11"), "=SUM(R[-8]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "C11"), "=SUM(R[-8]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B12"), "=SUM(R[-1]C)");
  EXPECT_TRUE(w.At("D11").IsEmpty()) << "D is not summed";
  EXPECT_EQ(w.At("A12"), Variant("合计"));
  EXPECT_EQ(w.app.ActiveWindow().View(), xlPageBreakPreview) << "the view it had";
}

TEST(PageSubtotals, TheListEndsAtTheLowestCellOfItsLabelOrSummedColumns) {
  Workplace w;
  PutPagedList(w, 10);
  w.Put("C11", {{99}});  // the last summed column runs a row further
  FillDialog(w, "B3:C3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.At("A12"), Variant("小计"));
  EXPECT_EQ(R1C1(w, "C12"), "=SUM(R[-9]C:R[-1]C)");
  EXPECT_EQ(w.At("C11"), Variant(99));
}

TEST(PageSubtotals, WithTheOptionAPageEndingAtAManualBreakKeepsAllItsRows) {
  Workplace w;
  PutPagedList(w, 120);
  w.sheet().EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {31}; });
  FillDialog(w, "B3:B3", "A3", true);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.At("A30"), Variant("n30"));
  EXPECT_EQ(w.At("A31"), Variant("小计"));
  EXPECT_EQ(R1C1(w, "B31"), "=SUM(R[-28]C:R[-1]C)");
  // The automatic break of the next page takes its page's last row.
  EXPECT_EQ(R1C1(w, "B81"), "=SUM(R[-49]C:R[-1]C)");
  EXPECT_EQ(w.At("A82"), Variant("n80"));
  EXPECT_EQ(R1C1(w, "B123"), "=SUM(R[-41]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B124"), "=SUM(R[-93]C,R[-43]C,R[-1]C)");
  EXPECT_EQ(w.sheet().Layout().manualRowBreaks, (std::vector<int>{32, 82}));
}

TEST(PageSubtotals, WithoutTheOptionTheLastManualBreakIsDraggedOffAndManualBreaksActAsAutomatic) {
  Workplace w;
  PutPagedList(w, 80);
  w.sheet().EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks = {31, 61}; });
  FillDialog(w, "B3:B3", "A3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.At("A30"), Variant("小计"));
  EXPECT_EQ(R1C1(w, "B30"), "=SUM(R[-27]C:R[-1]C)");
  EXPECT_EQ(w.At("A31"), Variant("n30"));
  EXPECT_EQ(R1C1(w, "B80"), "=SUM(R[-49]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B83"), "=SUM(R[-2]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B84"), "=SUM(R[-54]C,R[-4]C,R[-1]C)");
  EXPECT_EQ(w.sheet().Layout().manualRowBreaks, (std::vector<int>{31, 81}));
}

TEST(PageSubtotals, ALabelColumnAmongTheSummedColumnsEndsUpHoldingTheFormula) {
  Workplace w;
  PutPagedList(w, 10);
  FillDialog(w, "A3:C3", "B3", false);
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(R1C1(w, "A11"), "=SUM(R[-8]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B11"), "=SUM(R[-8]C:R[-1]C)");
  EXPECT_EQ(R1C1(w, "B12"), "=SUM(R[-1]C)");
}

TEST(PageSubtotals, ABadReferenceInEitherFieldStopsBeforeTheCopy) {
  for (const char* bad : {"RefEdit1", "RefEdit2"}) {
    Workplace w;
    PutPagedList(w, 10);
    FillDialog(w, "B3:C3", "A3", false);
    w.Fill({{bad, "不是引用"}});
    w.korvel().FYXJYHJ(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), std::vector<std::string>{"区域引用无效"}) << bad;
    EXPECT_EQ(w.Titles(), std::vector<std::string>{"Lumo提示"});
    EXPECT_EQ(w.form.Focus(), bad);
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
    EXPECT_TRUE(w.app.EnableEvents());
    EXPECT_EQ(w.book().SheetCount(), 1) << "no copy";
  }
}

TEST(PageSubtotals, AnEmptyFieldAsksForARangeInTheLibrarysName) {
  Workplace w;
  FillDialog(w, "B3:C3", "A3", false);
  w.Fill({{"TextBox2", ""}});
  w.korvel().FYXJYHJ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), std::vector<std::string>{"请选定区域"});
  EXPECT_EQ(w.Titles(), std::vector<std::string>{"Tavrin"});
  EXPECT_EQ(w.form.Focus(), "TextBox2");
  EXPECT_EQ(w.book().SheetCount(), 1);
}

}  // namespace
}  // namespace tavrin
