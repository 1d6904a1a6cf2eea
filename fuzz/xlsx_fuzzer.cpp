// A whole .xlsx package: opened as a file, a damaged one must fail as a file error and add no
// workbook; one that opens is saved, and the saved file must open with the same sheets and cells.
#include <any>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "io/workbook_file.h"
#include "io/xlsx_origin.h"
#include "same_cells.h"
#include "scratch_folder.h"
#include "spreadsheet/book.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

// The number of cell formats of a workbook read from an .xlsx file.
size_t CellFormats(const Book& book) {
  const auto* origin = std::any_cast<std::shared_ptr<const XlsxOrigin>>(&book.Origin());
  return origin ? (*origin)->styles.Count() : 0;
}

// Saves the workbook, opens the saved file and compares. A sheet written afresh writes a style
// index beyond the cell formats of the file as the default one; one written as read keeps all.
void SaveAndOpen(Book& book, bool rewritten) {
  std::filesystem::path saved = ScratchFolder() / "saved.xlsx";
  try {
    SaveWorkbook(book, saved);
  } catch (const FileError& error) {
    Require(false, "a workbook that opened can be saved", error.what());
  }
  Spreadsheet app;
  Book* again = nullptr;
  try {
    again = &OpenWorkbook(app, saved);
  } catch (const FileError& error) {
    Require(false, "a saved workbook opens", error.what());
  }
  Require(again->SheetCount() == book.SheetCount(), "a saved workbook has the same sheets");
  size_t styles = rewritten ? CellFormats(*again) : SIZE_MAX;
  for (int i = 1; i <= book.SheetCount(); ++i) {
    Require(again->GetSheet(i).Name() == book.GetSheet(i).Name(),
            "a saved workbook's sheets have the same names", book.GetSheet(i).Name());
    RequireSameCells(book.GetSheet(i), again->GetSheet(i), styles);
  }
}

}  // namespace
}  // namespace tavrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  std::filesystem::path input = ScratchFolder() / "input.xlsx";
  std::ofstream(input, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

  Spreadsheet app;
  Book* book = nullptr;
  try {
    book = &OpenWorkbook(app, input);
  } catch (const FileError&) {
    Require(app.WorkbookCount() == 0, "a file that does not open adds no workbook");
    return 0;
  }
  // Every formula is computed, as showing the sheets would.
  for (int i = 1; i <= book->SheetCount(); ++i) {
    Sheet& sheet = book->GetSheet(i);
    sheet.Store().ForEach(Area{1, 1, kLastRow, kLastColumn}, [&](int row, int column, const Cell&) {
      (void)sheet.CellValue(row, column);
    });
  }
  // As read, then with every sheet written afresh, as after a tool changed it.
  SaveAndOpen(*book, false);
  for (int i = 1; i <= book->SheetCount(); ++i) book->GetSheet(i).SetChanged(true);
  SaveAndOpen(*book, true);
  return 0;
}
