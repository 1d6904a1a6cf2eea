// A worksheet part: read into a sheet, written, and the written part read again must give the
// same cells, row heights, column widths, merged cells and manual breaks.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "io/file_error.h"
#include "io/row_xml.h"
#include "io/sheet_rows.h"
#include "io/workbook_styles.h"
#include "io/worksheet_reader.h"
#include "io/worksheet_writer.h"
#include "io/xml_text.h"
#include "same_cells.h"
#include "spreadsheet/book.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

// The workbook around the part: its shared strings and cell formats (1 shows a date, 2 a date
// counted from 1904, 3 plain).
const std::vector<std::string> kSharedStrings = {"alpha", "", "beta gamma", "3"};
const WorkbookStyles kStyles{{false, true, true, false}, {false, false, true, false}, true};

bool SameNumber(double x, double y) {
  return x == y || (x != x && y != y);
}

void RequireSameSheet(const Sheet& first, const Sheet& second) {
  RequireSameCells(first, second, kStyles.Count());
  for (const Sheet* sheet : {&first, &second}) {
    for (const auto& [row, height] : sheet->RowHeights().ByRow()) {
      Require(SameNumber(first.RowHeight(row), second.RowHeight(row)),
              "a row's height reads back the same", std::to_string(row));
    }
  }
  for (int column = 1; column <= kLastColumn; ++column) {
    Require(SameNumber(first.ColumnWidth(column), second.ColumnWidth(column)),
            "a column's width reads back the same", ColumnLetters(column));
  }
  Require(first.Layout().mergedCells == second.Layout().mergedCells,
          "merged cells read back the same");
  Require(first.Layout().manualRowBreaks == second.Layout().manualRowBreaks,
          "manual breaks read back the same");
}

// Reads a part into the sheet as the workbook reader does: its cells a row at a time, the rest
// as a tree, kept in `rest` for writing the part back.
void ReadPart(std::string_view bytes, pugi::xml_document& rest, Sheet& sheet) {
  const std::string part = "xl/worksheets/sheet1.xml";
  SheetPartSplit split = SplitSheetPart(bytes, part);
  ParseXml(rest, split.rest, part);
  ReadBudget budget;
  ReadWorksheet(rest, split.sheetData, part, sheet, kSharedStrings, kStyles, budget);
}

// Every row the scanner takes reads the same through the XML parser.
void RequireScannedRowsAsParsed(std::string_view bytes) {
  const std::string part = "xl/worksheets/sheet1.xml";
  try {
    SheetRows rows(SplitSheetPart(bytes, part).sheetData, part);
    RowXml scanned, parsed;
    for (std::string_view text = rows.NextText(); !text.empty(); text = rows.NextText()) {
      if (!ScanRowXml(text, scanned)) continue;
      pugi::xml_document document;
      Require(document.load_buffer(text.data(), text.size(),
                                   pugi::parse_default | pugi::parse_ws_pcdata_single),
              "a row the scanner takes is XML", std::string(text));
      ReadRowNode(document.child("row"), parsed);
      Require(scanned == parsed, "a scanned row reads as the parser reads it", std::string(text));
    }
  } catch (const FormatError&) {
  }
}

}  // namespace
}  // namespace tavrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  Spreadsheet app;
  Book& book = app.AddWorkbook("Book1");
  Sheet& first = book.AddSheet("Sheet1");
  RequireScannedRowsAsParsed(std::string_view(reinterpret_cast<const char*>(data), size));
  pugi::xml_document rest;
  try {
    ReadPart(std::string_view(reinterpret_cast<const char*>(data), size), rest, first);
  } catch (const FormatError&) {
    return 0;
  }
  first.SetChanged(false);
  // Every formula is computed, as showing the sheet would.
  first.Store().ForEach(Area{1, 1, kLastRow, kLastColumn}, [&](int row, int column, const Cell&) {
    (void)first.CellValue(row, column);
  });

  SheetViewState view{first.Layout().tabSelected, first.Layout().pageBreakPreview};
  std::string written = WriteWorksheet(first, view, kStyles, rest.child("worksheet"));
  Sheet& second = book.AddSheet("Sheet2");
  pugi::xml_document restAgain;
  try {
    ReadPart(written, restAgain, second);
  } catch (const FormatError& error) {
    Require(false, "a written part reads", std::string(error.what()) + "\n" + written);
  }
  RequireSameSheet(first, second);
  return 0;
}
