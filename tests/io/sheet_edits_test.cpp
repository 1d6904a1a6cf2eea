#include <functional>

#include "io_fixture.h"

namespace tavrin {
namespace {

// A sheet read from a file and not changed is written back as it was read, so an edit that did
// not mark its sheet changed would be lost on saving. Each kind of edit, made on a workbook just
// read, must be in the file written.
TEST(SheetEditsTest, EveryKindOfEditReachesTheFileWritten) {
  TempFolder folder;
  {
    Spreadsheet app;
    Book& book = app.AddWorkbook("book");
    Sheet& list = book.AddSheet("List");
    book.AddSheet("Other").Range("A1").SetFormula("=List!A3");
    list.Range("A1").SetValue("k");
    list.Range("A2").SetValue(2);
    list.Range("A3").SetValue(3);
    list.Range("B1").SetFormula("=A2*2");
    SaveWorkbook(book, folder / "book.xlsx");
  }
  struct Edit {
    const char* what;
    std::function<void(Book&)> edit;
    const char* cell;  // where the edit shows, and what it shows there
    const char* shows;
  };
  auto range = [](Book& book, const char* address) {
    std::string text = address;
    size_t bang = text.find('!');
    return book.GetSheet(text.substr(0, bang)).Range(text.substr(bang + 1));
  };
  const std::vector<Edit> edits = {
      {"a value", [&](Book& b) { range(b, "List!C1").SetValue(7); }, "List!C1", "7"},
      {"values",
       [&](Book& b) {
         Block values(2, 1);
         values(2, 1) = Variant(8);
         range(b, "List!C1:C2").SetValues(values);
       },
       "List!C2", "8"},
      {"a formula", [&](Book& b) { range(b, "List!C1").SetFormula("=A3+1"); }, "List!C1", "=A3+1"},
      {"an R1C1 formula", [&](Book& b) { range(b, "List!C1").SetFormulaR1C1("=R3C1"); }, "List!C1",
       "=$A$3"},
      {"clearing", [&](Book& b) { range(b, "List!A2").ClearContents(); }, "List!A2", ""},
      {"a fill", [&](Book& b) { range(b, "List!B1").AutoFill(range(b, "List!B1:B2")); }, "List!B2",
       "=A3*2"},
      {"a filter",
       [&](Book& b) {
         range(b, "List!A1:A3").AdvancedFilter(xlFilterCopy, range(b, "Other!D1"), true);
       },
       "Other!D3", "3"},
      {"a copy", [&](Book& b) { range(b, "List!A3").Copy(range(b, "Other!E1")); }, "Other!E1", "3"},
      {"a cut", [&](Book& b) { range(b, "List!A3").Cut(range(b, "Other!E1")); }, "List!A3", ""},
      {"a paste",
       [&](Book& b) {
         range(b, "List!A2").Copy();
         range(b, "Other!F1").PasteSpecial(xlPasteValues);
       },
       "Other!F1", "2"},
      {"rows inserted", [&](Book& b) { range(b, "List!1:1").Insert(); }, "List!A4", "3"},
      {"rows deleted", [&](Book& b) { range(b, "List!1:1").Delete(); }, "List!A1", "2"},
      {"a formula on another sheet moved with its rows",
       [&](Book& b) { range(b, "List!1:1").Insert(); }, "Other!A1", "=List!A4"},
      {"a write to the store",
       [&](Book& b) { b.GetSheet("List").Store().SetContent(5, 1, Variant(9), nullptr); },
       "List!A5", "9"},
  };
  for (const Edit& edit : edits) {
    Spreadsheet app;
    Book& book = OpenWorkbook(app, folder / "book.xlsx");
    edit.edit(book);
    SaveWorkbook(book, folder / "edited.xlsx");
    Spreadsheet again;
    Book& reread = OpenWorkbook(again, folder / "edited.xlsx");
    EXPECT_EQ(range(reread, edit.cell).Formula(), edit.shows) << edit.what;
  }
}

}  // namespace
}  // namespace tavrin
