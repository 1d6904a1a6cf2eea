#include <ctime>

#include "host/command_bars.h"
#include "host/workbook.h"
#include "sheet_fixture.h"

namespace tavrin {
namespace {

TEST_F(SheetTest, EvaluateGivesRangesForAddressesAndErrorValuesOtherwise) {
  Sheet& data = book.AddSheet("My Data");
  RangeOrValue cell = app.Evaluate("B2:C3");
  ASSERT_TRUE(cell.IsRange());
  EXPECT_EQ(&cell.AsRange().Parent(), &sheet);
  EXPECT_EQ(cell.AsRange().Areas(), (std::vector<Area>{{2, 2, 2, 2}}));
  RangeOrValue other = app.Evaluate("'my data'!$A:$A,C5");
  ASSERT_TRUE(other.IsRange());
  EXPECT_EQ(&other.AsRange().Parent(), &data);
  EXPECT_EQ(other.AsRange().Address(), "$A:$A,$C$5");
  EXPECT_EQ(app.Evaluate("Nowhere!A1").Value(), Variant(ErrorValue::Ref));
  RangeOrValue name = app.Evaluate("total of");
  EXPECT_EQ(name.Value(), Variant(ErrorValue::Name));
  EXPECT_EQ(ErrorOf([&] { name.AsRange(); }), 424);
  EXPECT_EQ(ErrorOf([&] { app.Range("Nowhere!A1"); }), 1004);
  EXPECT_EQ(ErrorOf([&] { sheet.Range("'My Data'!A1"); }), 1004);
  EXPECT_EQ(app.Range("'My Data'!B1").Address(), "$B$1");
}

TEST_F(SheetTest, SheetsByNumberAndNameIgnoringCase) {
  Sheet& second = book.AddSheet("Übersicht");
  Sheets& sheets = book.Sheets();
  EXPECT_EQ(sheets.Count(), 2);
  EXPECT_EQ(&sheets.Item(2), &second);
  EXPECT_EQ(&sheets.Item("sheet1"), &sheet);
  EXPECT_EQ(&sheets.Item("übersicht"), &second);
  EXPECT_EQ(ErrorOf([&] { sheets.Item(3); }), 9);
  EXPECT_EQ(ErrorOf([&] { sheets.Item("Sheet9"); }), 9);
  EXPECT_EQ(ErrorOf([&] { book.AddSheet("SHEET1"); }), 1004);
  EXPECT_EQ(ErrorOf([&] { book.AddSheet("a/b"); }), 1004);
  EXPECT_EQ(&book.ActiveSheet(), &sheet);
  second.Activate();
  EXPECT_EQ(&book.ActiveSheet(), &second);
  // Selecting needs the sheet to be the active one.
  EXPECT_EQ(ErrorOf([&] { At("B2").Select(); }), 1004);
  second.Range("C3:D4").Select();
  EXPECT_EQ(app.Selection().Address(), "$C$3:$D$4");
  EXPECT_EQ(sheet.Selection().Address(), "$A$1");
}

TEST_F(SheetTest, WindowsActivateTheirWorkbooks) {
  Book& other = app.AddWorkbook("Data.xlsx");
  other.AddSheet("Raw");
  EXPECT_EQ(&app.ActiveWorkbook(), &other);
  Windows& windows = app.Windows();
  EXPECT_EQ(windows.Count(), 2);
  EXPECT_EQ(windows.Item(1).Caption(), "Book1");
  windows.Item("book1").Activate();
  EXPECT_EQ(&app.ActiveWorkbook(), &book);
  EXPECT_EQ(app.ActiveWindow().Caption(), "Book1");
  app.ActiveWindow().SetView(xlPageBreakPreview);
  EXPECT_EQ(windows.Item(1).View(), xlPageBreakPreview);
  EXPECT_EQ(windows.Item(2).View(), xlNormalView);
  // Back to the normal view; the page layout view (3) is none this host has.
  app.ActiveWindow().SetView(xlNormalView);
  EXPECT_EQ(windows.Item(1).View(), xlNormalView);
  EXPECT_EQ(ErrorOf([&] { app.ActiveWindow().SetView(3); }), 1004);
  EXPECT_EQ(windows.Item(1).View(), xlNormalView);
  EXPECT_EQ(ErrorOf([&] { windows.Item(3); }), 9);
  EXPECT_EQ(ErrorOf([&] { app.ThisWorkbook(); }), 91);
  app.SetThisWorkbook(other);
  EXPECT_EQ(&app.ThisWorkbook(), &other);
  // Activating a sheet brings its workbook forward.
  other.GetSheet("raw").Activate();
  EXPECT_EQ(&app.ActiveWorkbook(), &other);
  // A workbook taken away leaves the others, and the one added last before it comes forward.
  app.RemoveWorkbook(app.AddWorkbook("Failed.xlsx"));
  EXPECT_EQ(windows.Count(), 2);
  EXPECT_EQ(&app.ActiveWorkbook(), &other);
  EXPECT_EQ(&app.GetWorkbook("book1"), &book);
}

TEST_F(SheetTest, WorkbooksByNumberAndTheActiveOneThroughRemovals) {
  Book& other = app.AddWorkbook("Other");
  EXPECT_EQ(&app.GetWorkbook(1), &book);
  EXPECT_EQ(&app.GetWorkbook(2), &other);
  EXPECT_EQ(ErrorOf([&] { app.GetWorkbook(0); }), 9);
  EXPECT_EQ(ErrorOf([&] { app.GetWorkbook(3); }), 9);
  Book& third = app.AddWorkbook("Third");
  book.Activate();
  app.RemoveWorkbook(other);
  EXPECT_EQ(&app.ActiveWorkbook(), &book) << "removing another leaves the active one";
  EXPECT_EQ(app.WorkbookCount(), 2);
  app.RemoveWorkbook(book);
  EXPECT_EQ(&app.ActiveWorkbook(), &third);
  app.RemoveWorkbook(third);
  EXPECT_EQ(ErrorOf([&] { app.ActiveWorkbook(); }), 91);
  EXPECT_EQ(ErrorOf([&] { app.MenuBars(1); }), 5);
  EXPECT_EQ(&app.MenuBars(xlWorksheet), &app.MenuBars(xlWorksheet));
}

TEST(ClockTest, WithoutAClockTodayIsTheComputersDate) {
  Spreadsheet app;
  Sheet& sheet = app.AddWorkbook("Book1").AddSheet("Sheet1");
  sheet.Range("A1").SetValue("=YEAR(NOW())*10000+MONTH(NOW())*100+DAY(NOW())");
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_EQ(sheet.Range("A1").Value(),
            Variant((local.tm_year + 1900) * 10000.0 + (local.tm_mon + 1) * 100 + local.tm_mday));
}

TEST_F(SheetTest, SheetCopiesAreNamedAfterTheOriginalAndBecomeActive) {
  Sheet& last = book.AddSheet("Last");
  Set("A1", 7);
  sheet.SetRowHeight(2, 40);
  sheet.PageSetup().SetPrintTitleRows("1:2");
  sheet.Copy(sheet);
  sheet.Copy(last);
  Sheet& copy = book.GetSheet(2);
  EXPECT_EQ(copy.Name(), "Sheet1 (2)");
  EXPECT_EQ(book.GetSheet(4).Name(), "Sheet1 (3)");
  EXPECT_EQ(&book.ActiveSheet(), &book.GetSheet(4));
  copy.Copy(copy);
  EXPECT_EQ(book.GetSheet(3).Name(), "Sheet1 (4)");
  EXPECT_EQ(copy.Range("A1").Value(), Variant(7));
  EXPECT_EQ(copy.RowHeight(2), 40);
  EXPECT_EQ(copy.PageSetup().PrintTitleRows(), "$1:$2");
  copy.Range("A1").SetValue(8);
  EXPECT_EQ(Get("A1"), Variant(7));
}

TEST_F(SheetTest, PrintTitleRowsAreNormalised) {
  PageSetup& setup = sheet.PageSetup();
  for (const char* text : {"$1:$3", "1:3", "$3:1"}) {
    setup.SetPrintTitleRows(text);
    EXPECT_EQ(setup.PrintTitleRows(), "$1:$3");
  }
  setup.SetPrintTitleRows("$2");
  EXPECT_EQ(setup.PrintTitleRows(), "$2:$2");
  setup.SetPrintTitleRows("");
  EXPECT_EQ(setup.PrintTitleRows(), "");
  setup.SetPrintTitleRows("14:$12");
  EXPECT_EQ(setup.PrintTitleRows(), "$12:$14");
  setup.SetPrintTitleRows("65536");
  EXPECT_EQ(setup.PrintTitleRows(), "$65536:$65536");
  for (const char* text : {"A1", "$1:", "0:2", "1:65537", "1x:2", "x:2", "$"}) {
    EXPECT_EQ(ErrorOf([&] { setup.SetPrintTitleRows(text); }), 1004) << text;
  }
  EXPECT_EQ(sheet.HPageBreaks().Count(), 0);
  EXPECT_EQ(ErrorOf([&] { sheet.HPageBreaks().Item(1); }), 9);
}

TEST_F(SheetTest, InputBoxForARangeAsksTheAnswerer) {
  std::vector<std::optional<std::string>> answers = {"=B2:B4", "no address", std::nullopt};
  size_t next = 0;
  app.SetInputAnswerer([&](const std::string& prompt, const std::string& title) {
    EXPECT_EQ(prompt, "选择区域");
    EXPECT_EQ(title, "汇总");
    return answers[next++];
  });
  auto ask = [&] { return app.InputBox("选择区域", "汇总", {}, {}, {}, {}, {}, 8); };
  EXPECT_EQ(ask().AsRange().Address(), "$B$2:$B$4");
  EXPECT_EQ(ask().Value(), Variant::Boolean(false));
  EXPECT_EQ(ask().Value(), Variant::Boolean(false));
}

TEST_F(SheetTest, InputBoxForATextGivesTheTextEvenWhenItIsAnAddress) {
  app.SetInputAnswerer([](const std::string&, const std::string&) { return "=B2:B4"; });
  RangeOrValue answer = app.InputBox("名称", "汇总", {}, {}, {}, {}, {}, 2);
  ASSERT_FALSE(answer.IsRange());
  EXPECT_EQ(answer.Value(), Variant("=B2:B4"));
}

}  // namespace
}  // namespace tavrin
