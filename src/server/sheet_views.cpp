#include "server/sheet_views.h"

#include <algorithm>
#include <any>
#include <map>
#include <memory>
#include <optional>

#include <nlohmann/json.hpp>

#include "host/range.h"
#include "host/variant_rules.h"
#include "io/cell_looks.h"
#include "io/xlsx_origin.h"
#include "session/used_area.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/shown_text.h"
#include "spreadsheet/typed_entry.h"

namespace tavrin {

nlohmann::json SheetList(Book& book) {
  nlohmann::json sheets = nlohmann::json::array();
  for (int i = 1; i <= book.SheetCount(); ++i) {
    Sheet& sheet = book.GetSheet(i);
    Area used{1, 1, 0, 0};
    UsedArea(sheet, used);
    sheets.push_back(
        {{"name", sheet.Name()}, {"lastRow", used.LastRow()}, {"lastColumn", used.LastColumn()}});
  }
  return sheets;
}

std::string SelectionText(Sheet& sheet) {
  std::string text;
  tavrin::Range selection = sheet.Selection();
  for (const Area& area : selection.Areas()) {
    if (!text.empty()) text += ',';
    for (char c : AreaAddress(area)) {
      if (c != '$') text += c;
    }
  }
  return text;
}

namespace {

// The lines of the texts with line breaks, by row: the most in any cell of the row.
std::map<int, int> LinesByRow(const Sheet& sheet) {
  std::map<int, int> lines;
  sheet.Store().ForEach(Area{1, 1, kLastRow, kLastColumn}, [&](int row, int, const Cell& cell) {
    if (!cell.value.IsText()) return;
    const std::string& text = cell.value.AsText();
    int count = 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    if (count > 1) lines[row] = std::max(lines[row], count);
  });
  return lines;
}

// The frozen rows and columns of a sheet read from an .xlsx file, as its sheet view stores them
// (<pane xSplit="1" ySplit="1" state="frozen"/>, before the cells); nothing for another sheet.
std::optional<std::pair<int, int>> FrozenPane(Sheet& sheet) {
  const auto* origin = std::any_cast<std::shared_ptr<const XlsxOrigin>>(&sheet.Parent().Origin());
  if (origin == nullptr || *origin == nullptr) return std::nullopt;
  const XlsxSheetOrigin* from = (*origin)->FindSheet(sheet.Name());
  const PackagePart* part = from == nullptr ? nullptr : (*origin)->Find(from->part);
  if (part == nullptr) return std::nullopt;
  std::string_view bytes = part->bytes;
  size_t at = bytes.substr(0, bytes.find("<sheetData")).find("<pane ");
  if (at == std::string_view::npos) return std::nullopt;
  std::string pane(bytes.substr(at, bytes.find('>', at) - at + 1));
  if (pane.back() == '>' && pane[pane.size() - 2] != '/') pane.insert(pane.size() - 1, "/");
  pugi::xml_document xml;
  if (!xml.load_string(pane.c_str())) return std::nullopt;
  pugi::xml_node node = xml.child("pane");
  std::string_view state = node.attribute("state").as_string();
  if (state != "frozen" && state != "frozenSplit") return std::nullopt;
  return std::pair{node.attribute("ySplit").as_int(), node.attribute("xSplit").as_int()};
}

void AddFillAndBorder(nlohmann::json& cell, const CellLook& look) {
  if (look.fill) cell["fill"] = look.FillText();
  if (look.HasBorder()) cell["border"] = look.borders;
}

}  // namespace

nlohmann::json LayoutOf(Sheet& sheet) {
  const SheetLayout& layout = sheet.Layout();
  nlohmann::json rows = nlohmann::json::array();
  std::map<int, bool> rowNumbers;
  sheet.RowHeights().ForEach([&](int row, const StoredRowHeight&) { rowNumbers[row] = true; });
  layout.rowFormats.ForEach([&](int row, const LineFormat& format) {
    if (format.hidden) rowNumbers[row] = true;
  });
  // A row whose height is not set grows to show every line of its texts, as the host fits it.
  std::map<int, int> lines = LinesByRow(sheet);
  for (const auto& [row, count] : lines) rowNumbers[row] = true;
  for (const auto& [row, unused] : rowNumbers) {
    const LineFormat* format = layout.rowFormats.Find(row);
    bool hidden = format != nullptr && format->hidden;
    double height = sheet.RowHeight(row);
    const StoredRowHeight* stored = sheet.RowHeights().Find(row);
    if (auto many = lines.find(row); many != lines.end() && (stored == nullptr || stored->fitted))
      height = std::max(height, many->second * sheet.DefaultRowHeight());
    if (height == sheet.DefaultRowHeight() && !hidden) continue;
    rows.push_back({{"r", row}, {"height", height}, {"hidden", hidden}});
  }
  nlohmann::json columns = nlohmann::json::array();
  for (int column = 1; column <= kLastColumn; ++column) {
    auto format = layout.columnFormats.find(column);
    bool hidden = format != layout.columnFormats.end() && format->second.hidden;
    double width = sheet.ColumnWidth(column);
    if (width == Sheet::kDefaultColumnWidth && !hidden) continue;
    columns.push_back({{"c", column}, {"width", width}, {"hidden", hidden}});
  }
  nlohmann::json answer = {{"defaultRowHeight", sheet.DefaultRowHeight()},
                           {"defaultColumnWidth", Sheet::kDefaultColumnWidth},
                           {"rows", std::move(rows)},
                           {"columns", std::move(columns)}};
  if (auto frozen = FrozenPane(sheet))
    answer["frozen"] = {{"rows", frozen->first}, {"columns", frozen->second}};
  return answer;
}

namespace {

// The look of a row's or a column's format, when it shows one.
std::map<int, const CellLook*> LineLooks(const Book& book, const std::map<int, LineFormat>& formats,
                                         int first, int last) {
  std::map<int, const CellLook*> looks;
  for (auto it = formats.lower_bound(first); it != formats.end() && it->first <= last; ++it) {
    if (const CellLook* look = LookOf(book, it->second.style)) looks[it->first] = look;
  }
  return looks;
}
std::map<int, const CellLook*> LineLooks(const Book& book, const RowRuns<LineFormat>& formats,
                                         int first, int last) {
  std::map<int, const CellLook*> looks;
  const auto& runs = formats.Runs();
  for (size_t r = formats.RunFrom(first); r < runs.size() && runs[r].first <= last; ++r) {
    const CellLook* look = LookOf(book, runs[r].value.style);
    if (look == nullptr) continue;
    for (int row = std::max(first, runs[r].first); row <= std::min(last, runs[r].last); ++row)
      looks[row] = look;
  }
  return looks;
}

// What a constant's cell holds as it would be typed again: a number shown as a percentage as
// one ("12.5%"), as the host's formula bar shows it; else its entry's text.
std::string CellEntry(const Cell& cell, int row, int column, const CellLook* look,
                      const UserLocale& locale) {
  if (look != nullptr && cell.value.IsNumber() && look->numberFormat.find('%') != std::string::npos)
    return NumberText(cell.value.AsNumber() * 100, locale) + "%";
  return EntryText(cell, row, column, locale);
}

}  // namespace

nlohmann::json CellsOf(Sheet& sheet, const Area& block,
                       const std::set<std::pair<int, int>>* changed) {
  const Book& book = sheet.Parent();
  const SheetLayout& layout = sheet.Layout();
  std::map<int, const CellLook*> rowLooks =
      LineLooks(book, layout.rowFormats, block.row, block.LastRow());
  std::map<int, const CellLook*> columnLooks =
      LineLooks(book, layout.columnFormats, block.column, block.LastColumn());
  // A cell without a format of its own shows its row's, else its column's, as the host shows an
  // empty cell of a formatted row or column.
  auto lookAt = [&](int row, int column, uint32_t style) -> const CellLook* {
    if (style != 0) return LookOf(book, style);
    const LineFormat* rowFormat = layout.rowFormats.Find(row);
    if (rowFormat != nullptr && rowFormat->style != 0) {
      auto look = rowLooks.find(row);
      return look == rowLooks.end() ? nullptr : look->second;
    }
    auto look = columnLooks.find(column);
    return look == columnLooks.end() ? nullptr : look->second;
  };
  nlohmann::json cells = nlohmann::json::array();
  // An empty cell is listed when it shows a fill or a border.
  auto emptyCell = [&](int row, int column, const CellLook* look) {
    if (look == nullptr || !look->Shows()) return;
    nlohmann::json empty = {{"r", row}, {"c", column}, {"text", ""}, {"number", false}};
    AddFillAndBorder(empty, *look);
    cells.push_back(std::move(empty));
  };
  for (int column = block.column; column <= block.LastColumn(); ++column) {
    // The rows of the column whose empty cells may show a fill, walked beside its cells.
    bool wholeColumn = columnLooks.contains(column);
    double width = sheet.ColumnWidth(column);
    int nextEmpty = block.row;
    auto emptyCellsBefore = [&](int end) {
      if (wholeColumn) {
        for (; nextEmpty < end; ++nextEmpty)
          emptyCell(nextEmpty, column, lookAt(nextEmpty, column, 0));
        return;
      }
      for (auto it = rowLooks.lower_bound(nextEmpty); it != rowLooks.end() && it->first < end; ++it)
        emptyCell(it->first, column, lookAt(it->first, column, 0));
      nextEmpty = end;
    };
    sheet.Store().ForEach(
        Area{block.row, column, block.rows, 1}, [&](int row, int, const Cell& cell) {
          // A cell with a format of its own shows that, even a plain one, not its row's or
          // its column's.
          if (cell.IsBlank()) return;
          const CellLook* look = lookAt(row, column, cell.style);
          emptyCellsBefore(row);
          nextEmpty = row + 1;
          if (!cell.HasContent()) return emptyCell(row, column, look);
          Variant value = sheet.CellValue(row, column);
          ShownText text =
              ShowInColumn(value, look != nullptr ? look->numberFormat : "", width, sheet.Locale());
          nlohmann::json shown = {{"r", row},
                                  {"c", column},
                                  {"text", std::move(text.text)},
                                  {"number", value.IsNumber() || value.IsDate()}};
          if (cell.formula) {
            shown["formula"] = FormulaText(*cell.formula, row, column);
          } else if (std::string typed = CellEntry(cell, row, column, look, sheet.Locale());
                     typed != shown["text"]) {
            shown["entry"] = std::move(typed);
          }
          if (look != nullptr && look->bold) shown["bold"] = true;
          if (look != nullptr) AddFillAndBorder(shown, *look);
          if (!text.colour && look != nullptr) text.colour = look->colour;
          if (text.colour) shown["colour"] = ColourText(*text.colour);
          if (changed != nullptr && changed->contains({row, column})) shown["changed"] = true;
          cells.push_back(std::move(shown));
        });
    emptyCellsBefore(block.LastRow() + 1);
  }
  return {{"cells", std::move(cells)}};
}

nlohmann::json SelectionSummary(Sheet& sheet, const Area& block) {
  long long count = 0, numbers = 0;
  double sum = 0;
  sheet.ForEachValue(block, [&](int, int, const Variant& value) {
    ++count;
    if (!value.IsNumber() && !value.IsDate()) return;
    ++numbers;
    sum += value.AsNumber();
  });
  nlohmann::json summary = {{"count", count}, {"numbers", numbers}};
  if (numbers > 0) {
    summary["sum"] = DisplayText(Variant(sum), sheet.Locale());
    summary["average"] = DisplayText(Variant(sum / static_cast<double>(numbers)), sheet.Locale());
  }
  return summary;
}

}  // namespace tavrin
