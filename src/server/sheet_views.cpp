#include "server/sheet_views.h"

#include <algorithm>
#include <map>

#include <nlohmann/json.hpp>

#include "host/range.h"
#include "session/used_area.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

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

nlohmann::json LayoutOf(const Sheet& sheet) {
  const SheetLayout& layout = sheet.Layout();
  nlohmann::json rows = nlohmann::json::array();
  std::map<int, bool> rowNumbers;
  for (const auto& [row, height] : sheet.RowHeights()) rowNumbers[row] = true;
  for (const auto& [row, format] : layout.rowFormats) {
    if (format.hidden) rowNumbers[row] = true;
  }
  for (const auto& [row, unused] : rowNumbers) {
    auto format = layout.rowFormats.find(row);
    bool hidden = format != layout.rowFormats.end() && format->second.hidden;
    double height = sheet.RowHeight(row);
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
  return {{"defaultRowHeight", sheet.DefaultRowHeight()},
          {"defaultColumnWidth", Sheet::kDefaultColumnWidth},
          {"rows", std::move(rows)},
          {"columns", std::move(columns)}};
}

nlohmann::json CellsOf(Sheet& sheet, const Area& block,
                       const std::set<std::pair<int, int>>* changed) {
  nlohmann::json cells = nlohmann::json::array();
  sheet.Store().ForEach(block, [&](int row, int column, const Cell& cell) {
    if (!cell.HasContent()) return;
    Variant value = sheet.CellValue(row, column);
    nlohmann::json shown = {{"r", row},
                            {"c", column},
                            {"text", sheet.Text(tavrin::Range(sheet, Area{row, column, 1, 1}))},
                            {"number", value.IsNumber() || value.IsDate()}};
    if (cell.formula) shown["formula"] = cell.formula->text;
    if (changed != nullptr && changed->contains({row, column})) shown["changed"] = true;
    cells.push_back(std::move(shown));
  });
  return {{"cells", std::move(cells)}};
}

}  // namespace tavrin
