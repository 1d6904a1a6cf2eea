#include "io/xls_reader.h"

#include <freexl.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "io/child_process.h"
#include "io/file_error.h"
#include "io/sheet_names.h"
#include "io/worksheet_reader.h"
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

// The sheets libfreexl reads from the file.
std::vector<XlsSheet> ReadSheets(const std::filesystem::path& path) {
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
  ReadBudget budget;
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
        Cell read{ValueOf(cell), nullptr, 0};
        if (read.value.IsEmpty()) continue;
        budget.Take(read);
        sheets[i].cells.emplace_back(r + 1, c + 1, std::move(read.value));
      }
    }
  }
  return sheets;
}

// The sheets as the child sends them: for each its name and its cells, each cell its row and
// column counted from 0 (in widths that hold no position past the sheet's bounds), its kind and
// then its number or its text; every count and length of a fixed width.
enum class Kind : uint8_t { Number, Text, Date };
using RowIndex = uint16_t;
using ColumnIndex = uint8_t;
static_assert(kLastRow - 1 == UINT16_MAX && kLastColumn - 1 == UINT8_MAX);

template <class T>
void Put(std::string& out, T value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void PutText(std::string& out, const std::string& text) {
  Put<uint64_t>(out, text.size());
  out += text;
}

std::string Encode(const std::vector<XlsSheet>& sheets) {
  std::string out;
  Put<uint64_t>(out, sheets.size());
  for (const XlsSheet& sheet : sheets) {
    PutText(out, sheet.name);
    Put<uint64_t>(out, sheet.cells.size());
    for (const auto& [row, column, value] : sheet.cells) {
      Put(out, static_cast<RowIndex>(row - 1));
      Put(out, static_cast<ColumnIndex>(column - 1));
      if (value.IsText()) {
        Put(out, Kind::Text);
        PutText(out, value.AsText());
      } else {
        Put(out, value.IsDate() ? Kind::Date : Kind::Number);
        Put(out, value.AsNumber());
      }
    }
  }
  return out;
}

// Reads the bytes back; no count or length is taken beyond the bytes there are.
class Decoder {
 public:
  explicit Decoder(std::string_view bytes) : rest(bytes) {}

  template <class T>
  T Take() {
    T value;
    std::memcpy(&value, Bytes(sizeof value).data(), sizeof value);
    return value;
  }
  std::string Text() { return std::string(Bytes(Take<uint64_t>())); }
  // A count of items of at least the size each, held to what the bytes left can hold.
  size_t Count(size_t eachAtLeast) {
    uint64_t count = Take<uint64_t>();
    if (count > rest.size() / eachAtLeast) throw FormatError("the workbook is damaged");
    return static_cast<size_t>(count);
  }

 private:
  std::string_view Bytes(uint64_t size) {
    if (size > rest.size()) throw FormatError("the workbook is damaged");
    std::string_view taken = rest.substr(0, static_cast<size_t>(size));
    rest.remove_prefix(static_cast<size_t>(size));
    return taken;
  }

  std::string_view rest;
};

std::vector<XlsSheet> Decode(std::string_view bytes) {
  Decoder in(bytes);
  std::vector<XlsSheet> sheets(in.Count(16));
  for (XlsSheet& sheet : sheets) {
    sheet.name = in.Text();
    sheet.cells.resize(in.Count(12));
    for (auto& [row, column, value] : sheet.cells) {
      row = in.Take<RowIndex>() + 1;
      column = in.Take<ColumnIndex>() + 1;
      Kind kind = in.Take<Kind>();
      if (kind == Kind::Text) {
        value = Variant(in.Text());
      } else {
        double number = in.Take<double>();
        value = kind == Kind::Date ? Variant::Date(number) : Variant(number);
      }
    }
  }
  return sheets;
}

}  // namespace

Book& ReadXls(Spreadsheet& application, const std::string& bookName,
              const std::filesystem::path& path) {
  // libfreexl keeps memory of a damaged file for good: read in a child process, a server that
  // opens one upload after another does not grow with each.
  std::vector<XlsSheet> sheets = Decode(RunInChild([&] { return Encode(ReadSheets(path)); }));
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
