#include "io/xls_reader.h"

#include <freexl.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <tuple>
#include <vector>

#include "io/file_error.h"
#include "io/sheet_names.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

struct Closer {
  void operator()(const void* handle) const { freexl_close(handle); }
};

// "2026-01-05", "2026-01-05 13:30:00" or "13:30:00" as a serial day number.
double SerialOf(const char* text, int type) {
  int year = 1899, month = 12, day = 30, hour = 0, minute = 0, second = 0;
  if (type == FREEXL_CELL_TIME) {
    std::sscanf(text, "%d:%d:%d", &hour, &minute, &second);
  } else {
    std::sscanf(text, "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second);
  }
  using namespace std::chrono;
  sys_days date{year_month_day{std::chrono::year{year},
                               std::chrono::month(static_cast<unsigned>(month)),
                               std::chrono::day(static_cast<unsigned>(day))}};
  sys_days origin{1899y / December / 30};
  return static_cast<double>((date - origin).count()) +
         (hour * 3600 + minute * 60 + second) / 86400.0;
}

Variant ValueOf(const FreeXL_CellValue& cell) {
  switch (cell.type) {
    case FREEXL_CELL_INT:
      return Variant(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
      return Variant(cell.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
      return Variant(cell.value.text_value);
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      return Variant::Date(SerialOf(cell.value.text_value, cell.type));
    default:
      return {};
  }
}

struct XlsSheet {
  std::string name;
  std::vector<std::tuple<int, int, Variant>> cells;
};

}  // namespace

Book& ReadXls(Spreadsheet& application, const std::string& bookName,
              const std::filesystem::path& path) {
  const void* opened = nullptr;
  int status = freexl_open(path.c_str(), &opened);
  if (status != FREEXL_OK) throw FormatError("not an .xls workbook");
  std::unique_ptr<const void, Closer> handle(opened);
  unsigned int count = 0;
  unsigned int password = 0;
  freexl_get_info(opened, FREEXL_BIFF_PASSWORD, &password);
  if (password == FREEXL_BIFF_OBFUSCATED) throw FormatError("the workbook is encrypted");
  if (freexl_get_info(opened, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK || count == 0) {
    throw FormatError("the workbook has no worksheets");
  }
  std::vector<XlsSheet> sheets(count);
  for (unsigned short i = 0; i < count; ++i) {
    const char* name = nullptr;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_get_worksheet_name(opened, i, &name) != FREEXL_OK ||
        freexl_select_active_worksheet(opened, i) != FREEXL_OK ||
        freexl_worksheet_dimensions(opened, &rows, &columns) != FREEXL_OK) {
      throw FormatError("the workbook is damaged");
    }
    sheets[i].name = name;
    rows = std::min(rows, static_cast<unsigned int>(kLastRow));
    columns = std::min(columns, static_cast<unsigned short>(kLastColumn));
    for (unsigned int r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < columns; ++c) {
        FreeXL_CellValue cell;
        if (freexl_get_cell_value(opened, r, c, &cell) != FREEXL_OK) continue;
        Variant value = ValueOf(cell);
        if (!value.IsEmpty()) sheets[i].cells.emplace_back(r + 1, c + 1, std::move(value));
      }
    }
  }
  std::vector<std::string> names;
  for (const XlsSheet& read : sheets) names.push_back(read.name);
  CheckSheetNames(names);
  Book& book = application.AddWorkbook(bookName);
  for (XlsSheet& read : sheets) {
    Sheet& sheet = book.AddSheet(read.name);
    for (auto& [row, column, value] : read.cells)
      sheet.Store().SetContent(row, column, std::move(value), nullptr);
  }
  book.GetSheet(1).Activate();
  return book;
}

}  // namespace tavrin
