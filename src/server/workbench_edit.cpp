#include <algorithm>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>

#include "host/block.h"
#include "host/host_error.h"
#include "io/cell_looks.h"
#include "server/api_error.h"
#include "server/workbench.h"
#include "spreadsheet/book.h"
#include "spreadsheet/book_copy.h"
#include "spreadsheet/cells_before.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/shown_text.h"

namespace tavrin {

namespace {

constexpr long long kMostCellsEdited = 50000;
constexpr size_t kMostUndoSteps = 100;

// The one block an address names on the sheet; 400 for anything else.
Area OneBlock(Sheet& sheet, const std::string& address) {
  try {
    tavrin::Range range = sheet.Range(address);
    if (range.Areas().size() == 1) return range.Areas().front();
  } catch (const HostError&) {
  }
  throw ApiError{400, "“" + address + "”不是这个工作表上的一个区域。"};
}

// A text typed into a cell: a percentage, a date or a time the host reads as a value is that
// value (a date or a time as a date); anything else goes to the typed-entry rules.
Variant TypedText(const std::string& text) {
  if (MayBeValueText(text)) {
    if (std::optional<double> value = ReadValueText(text))
      return text.find('%') != std::string::npos ? Variant(*value) : Variant::Date(*value);
  }
  return Variant(text);
}

// The texts of the rows, as a block the size of the longest row (shorter rows end in blanks).
Block TypedRows(const nlohmann::json& rows) {
  if (!rows.is_array() || rows.empty()) throw ApiError{400, "rows 应是由文字组成的行。"};
  size_t columns = 0;
  for (const nlohmann::json& row : rows) {
    if (!row.is_array()) throw ApiError{400, "rows 应是由文字组成的行。"};
    columns = std::max(columns, row.size());
  }
  if (columns == 0 || static_cast<long long>(rows.size() * columns) > kMostCellsEdited) {
    throw ApiError{400, "一次最多写入 50000 个单元格。"};
  }
  Block block(static_cast<int>(rows.size()), static_cast<int>(columns));
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      if (!rows[r][c].is_string()) throw ApiError{400, "rows 应是由文字组成的行。"};
      block(static_cast<int>(r) + 1, static_cast<int>(c) + 1) =
          TypedText(rows[r][c].get<std::string>());
    }
  }
  return block;
}

// Where a move puts the cells of FROM: the block of the same size whose top-left cell is TO's;
// 400 when it would pass the sheet's edge.
Area MovedTo(Sheet& sheet, const Area& from, const std::string& to) {
  Area at = OneBlock(sheet, to);
  Area moved{at.row, at.column, from.rows, from.columns};
  if (moved.LastRow() > kLastRow || moved.LastColumn() > kLastColumn)
    throw ApiError{400, "移动的单元格会超出工作表。"};
  return moved;
}

}  // namespace

nlohmann::json Workbench::Edit(int sheet, const nlohmann::json& request) {
  std::unique_lock<std::mutex> lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  Sheet& target = SheetAt(sheet);
  std::unique_ptr<BookCopy> bookBefore;
  std::unique_ptr<CellsBefore> cellsBefore;
  if (request.contains("move")) {
    Area from = OneBlock(target, request["move"].get<std::string>());
    Area to = MovedTo(target, from, request.at("to").get<std::string>());
    // Formulas anywhere in the workbook may follow the cells: the undo keeps all of it.
    bookBefore = std::make_unique<BookCopy>(UserBook());
    target.Cut(tavrin::Range(target, from), tavrin::Range(target, to));
  } else {
    bool clearing = request.contains("clear");
    Area area;
    Block values;
    if (clearing) {
      area = OneBlock(target, request["clear"].get<std::string>());
    } else {
      values = TypedRows(request.at("rows"));
      Area at = OneBlock(target, request.at("at").get<std::string>());
      area = Area{at.row, at.column, values.Rows(), values.Columns()};
      if (area.LastRow() > kLastRow || area.LastColumn() > kLastColumn)
        throw ApiError{400, "粘贴的内容超出了工作表。"};
    }
    cellsBefore = std::make_unique<CellsBefore>(UserBook(), sheet + 1, area);
    try {
      if (clearing) {
        target.ClearContents(tavrin::Range(target, area));
      } else {
        target.SetValues(area, values);
      }
    } catch (const HostError&) {
      cellsBefore->Restore();
      throw ApiError{400, "输入的公式有误，单元格没有改变。"};
    }
  }
  changed.clear();
  changedAreas.clear();
  if (undoSteps.size() == kMostUndoSteps) undoSteps.erase(undoSteps.begin());
  undoSteps.push_back({std::move(bookBefore), std::move(cellsBefore), dirty});
  dirty = true;
  return {{"canUndo", true}, {"dirty", true}};
}

nlohmann::json Workbench::End(int sheet, int row, int column, const std::string& direction) {
  std::unique_lock<std::mutex> lock(channel.Mutex());
  Sheet& shown = SheetAt(sheet);
  static const std::map<std::string, XlDirection> kWays = {
      {"up", xlUp}, {"down", xlDown}, {"left", xlToLeft}, {"right", xlToRight}};
  auto way = kWays.find(direction);
  if (way == kWays.end() || row < 1 || row > kLastRow || column < 1 || column > kLastColumn)
    throw ApiError{400, "方向应是 up、down、left 或 right，单元格应在工作表内。"};
  tavrin::Range edge = shown.End(tavrin::Range(shown, Area{row, column, 1, 1}), way->second);
  return {{"r", edge.Row()}, {"c", edge.Column()}};
}

namespace {

// The width a column needs to show its widest cell, as a double-click on its border fits it:
// the widest shown text in digits, and the room inside the cell's edges; the standard width
// for an empty column.
double FittedWidth(Sheet& sheet, int column) {
  double widest = 0;
  sheet.Store().ForEach(Area{1, column, kLastRow, 1}, [&](int row, int, const Cell& cell) {
    if (!cell.HasContent()) return;
    const CellLook* look = LookOf(sheet.Parent(), cell.style);
    std::string code = look != nullptr ? look->numberFormat : "";
    ShownText shown = ShowInColumn(sheet.CellValue(row, column), code, 255, sheet.Locale());
    widest = std::max(widest, TextDigits(shown.text));
  });
  return widest == 0 ? Sheet::kDefaultColumnWidth
                     : std::min(255.0, std::ceil((widest + 0.3) * 100) / 100);
}

// The height a row needs for the most lines of a text in it.
double FittedHeight(Sheet& sheet, int row) {
  size_t lines = 1;
  sheet.Store().ForEach(Area{row, 1, 1, kLastColumn}, [&](int, int, const Cell& cell) {
    if (cell.value.IsText()) {
      const std::string& text = cell.value.AsText();
      lines = std::max(lines, 1 + static_cast<size_t>(std::count(text.begin(), text.end(), '\n')));
    }
  });
  return static_cast<double>(lines) * sheet.DefaultRowHeight();
}

double SizeMember(const nlohmann::json& request, const char* name, double most) {
  const nlohmann::json& size = request.at(name);
  if (!size.is_number() || size.get<double>() < 0 || size.get<double>() > most)
    throw ApiError{400, std::string(name) + " 应在 0 到 " + std::to_string(static_cast<int>(most)) +
                            " 之间。"};
  return size.get<double>();
}

}  // namespace

nlohmann::json Workbench::Size(int sheet, const nlohmann::json& request) {
  std::unique_lock<std::mutex> lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  Sheet& target = SheetAt(sheet);
  bool fit = request.value("fit", false);
  if (request.contains("column")) {
    int column = request["column"].is_number_integer() ? request["column"].get<int>() : 0;
    if (column < 1 || column > kLastColumn) throw ApiError{400, "没有这一列。"};
    target.SetColumnWidth(column,
                          fit ? FittedWidth(target, column) : SizeMember(request, "width", 255));
  } else {
    int row = request.value("row", 0);
    if (row < 1 || row > kLastRow) throw ApiError{400, "没有这一行。"};
    target.SetRowHeight(row, fit ? FittedHeight(target, row) : SizeMember(request, "height", 409));
  }
  dirty = true;
  return {{"dirty", true}};
}

}  // namespace tavrin
