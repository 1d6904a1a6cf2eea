#include <algorithm>
#include <cmath>
#include <map>
#include <nlohmann/json.hpp>

#include "host/block.h"
#include "host/host_error.h"
#include "io/added_formats.h"
#include "io/cell_looks.h"
#include "server/api_error.h"
#include "server/workbench.h"
#include "spreadsheet/book.h"
#include "spreadsheet/book_copy.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/shown_text.h"

namespace tavrin {

namespace {

constexpr long long kMostCellsEdited = 50000;
constexpr size_t kMostUndoSteps = 100;
constexpr long kMostWorkbookCopies = 10;

// The one block an address names on the sheet; 400 for anything else.
Area OneBlock(Sheet& sheet, const std::string& address) {
  try {
    tavrin::Range range = sheet.Range(address);
    if (range.Areas().size() == 1) return range.Areas().front();
  } catch (const HostError&) {
  }
  throw ApiError{400, "“" + address + "”不是这个工作表上的一个区域。"};
}

bool IsPercentage(const std::string& text) {
  return text.find('%') != std::string::npos;
}

// A text typed into a cell: a percentage, a date or a time the host reads as a value is that
// value (a date or a time as a date); anything else goes to the typed-entry rules.
Variant TypedText(const std::string& text) {
  if (MayBeValueText(text)) {
    if (std::optional<double> value = ReadValueText(text))
      return IsPercentage(text) ? Variant(*value) : Variant::Date(*value);
  }
  return Variant(text);
}

// Rows of typed texts: their values, and the cells given a percentage with the built-in number
// format that shows it as the host formats such a cell: "0%", or "0.00%" when it was typed
// with decimals.
struct TypedBlock {
  Block values;
  struct Percentage {
    int row;
    int column;
    int numberFormatId;
  };
  std::vector<Percentage> percentages;
};

// The texts of the rows, as a block the size of the longest row (shorter rows end in blanks).
TypedBlock TypedRows(const nlohmann::json& rows) {
  if (!rows.is_array() || rows.empty()) throw ApiError{400, "rows 应是由文字组成的行。"};
  size_t columns = 0;
  for (const nlohmann::json& row : rows) {
    if (!row.is_array()) throw ApiError{400, "rows 应是由文字组成的行。"};
    columns = std::max(columns, row.size());
  }
  if (columns == 0) throw ApiError{400, "rows 应是由文字组成的行。"};
  if (static_cast<long long>(rows.size() * columns) > kMostCellsEdited)
    throw ApiError{400, "一次最多写入 50000 个单元格。"};
  TypedBlock typed{Block(static_cast<int>(rows.size()), static_cast<int>(columns)), {}};
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      if (!rows[r][c].is_string()) throw ApiError{400, "rows 应是由文字组成的行。"};
      const std::string& text = rows[r][c].get_ref<const std::string&>();
      Variant& value = typed.values(static_cast<int>(r) + 1, static_cast<int>(c) + 1);
      value = TypedText(text);
      if (value.IsNumber() && IsPercentage(text)) {
        int decimals = text.find('.') != std::string::npos ? 10 : 9;
        typed.percentages.push_back({static_cast<int>(r), static_cast<int>(c), decimals});
      }
    }
  }
  return typed;
}

// The cells given a percentage show it as one, unless their format shows percentages already.
void FormatPercentages(Sheet& sheet, const Area& at, const TypedBlock& typed) {
  for (const TypedBlock::Percentage& p : typed.percentages) {
    int row = at.row + p.row;
    int column = at.column + p.column;
    const Cell* cell = sheet.Store().Find(row, column);
    uint32_t style = cell != nullptr ? cell->style : 0;
    const CellLook* look = LookOf(sheet.Parent(), style);
    if (look != nullptr && look->numberFormat.find('%') != std::string::npos) continue;
    sheet.Store().SetStyle(row, column, FormatShowing(sheet.Parent(), style, p.numberFormatId));
  }
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
  if (request.contains("move")) {
    Area from = OneBlock(target, request["move"].get<std::string>());
    Area to = MovedTo(target, from, request.at("to").get<std::string>());
    // Formulas anywhere in the workbook may follow the cells: the undo keeps all of it.
    auto bookBefore = std::make_unique<BookCopy>(UserBook());
    target.Cut(tavrin::Range(target, from), tavrin::Range(target, to));
    AddUndoStep({.run = std::move(bookBefore), .dirtyBefore = dirty});
    return {{"canUndo", true}, {"dirty", true}};
  }
  bool clearing = request.contains("clear");
  Area area;
  TypedBlock typed;
  if (clearing) {
    area = OneBlock(target, request["clear"].get<std::string>());
  } else {
    typed = TypedRows(request.at("rows"));
    Area at = OneBlock(target, request.at("at").get<std::string>());
    area = Area{at.row, at.column, typed.values.Rows(), typed.values.Columns()};
    if (area.LastRow() > kLastRow || area.LastColumn() > kLastColumn)
      throw ApiError{400, "粘贴的内容超出了工作表。"};
  }
  auto cellsBefore = std::make_unique<CellsBefore>(UserBook(), sheet + 1, area);
  try {
    if (clearing) {
      target.ClearContents(tavrin::Range(target, area));
    } else {
      target.SetValues(area, typed.values);
      FormatPercentages(target, area, typed);
    }
  } catch (const HostError&) {
    cellsBefore->Restore();
    throw ApiError{400, "输入的公式有误，单元格没有改变。"};
  }
  AddUndoStep({.edit = std::move(cellsBefore), .dirtyBefore = dirty});
  return {{"canUndo", true}, {"dirty", true}};
}

// An edit, a move or a resize done: the changes of the last run are no longer shown, the edit
// is the last undo step, and the workbook is changed. The oldest steps go past the most kept,
// and past the most copies of the whole workbook kept (a move's), so that memory stays bounded.
void Workbench::AddUndoStep(UndoStep step) {
  changed.clear();
  changedAreas.clear();
  undoSteps.push_back(std::move(step));
  auto copies = [&] {
    return std::count_if(undoSteps.begin(), undoSteps.end(),
                         [](const UndoStep& kept) { return kept.run != nullptr; });
  };
  while (undoSteps.size() > kMostUndoSteps || copies() > kMostWorkbookCopies)
    undoSteps.erase(undoSteps.begin());
  dirty = true;
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
  std::unique_ptr<SizeBefore> sizeBefore;
  if (request.contains("column")) {
    int column = request["column"].is_number_integer() ? request["column"].get<int>() : 0;
    if (column < 1 || column > kLastColumn) throw ApiError{400, "没有这一列。"};
    double width = fit ? FittedWidth(target, column) : SizeMember(request, "width", 255);
    sizeBefore = std::make_unique<SizeBefore>(SizeBefore::OfColumn(UserBook(), sheet + 1, column));
    target.SetColumnWidth(column, width);
  } else {
    int row = request.value("row", 0);
    if (row < 1 || row > kLastRow) throw ApiError{400, "没有这一行。"};
    double height = fit ? FittedHeight(target, row) : SizeMember(request, "height", 409);
    sizeBefore = std::make_unique<SizeBefore>(SizeBefore::OfRow(UserBook(), sheet + 1, row));
    target.SetRowHeight(row, height);
  }
  AddUndoStep({.size = std::move(sizeBefore), .dirtyBefore = dirty});
  return {{"canUndo", true}, {"dirty", true}};
}

}  // namespace tavrin
