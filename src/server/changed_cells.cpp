#include "server/changed_cells.h"

#include <algorithm>
#include <vector>

#include "host/reference_text.h"
#include "spreadsheet/book.h"
#include "spreadsheet/book_copy.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

struct Content {
  int row;
  const Cell* cell;
};

std::vector<Content> ColumnContents(const Sheet& sheet, int column) {
  std::vector<Content> cells;
  sheet.Store().Column(column).ForEach(1, kLastRow, [&](int row, const Cell& cell) {
    if (cell.HasContent()) cells.push_back({row, &cell});
  });
  return cells;
}

// Two cells at (row, column), before and after.
bool SameContent(const Cell& a, const Cell& b, int row, int column) {
  if (a.formula || b.formula) {
    return a.formula && b.formula &&
           FormulaText(*a.formula, row, column) == FormulaText(*b.formula, row, column);
  }
  return a.value == b.value;
}

// The columns whose stamps say they are as they were are skipped: a run that wrote a few
// columns compares only those.
void CompareSheets(const Sheet* was, const Sheet& now, std::set<std::pair<int, int>>& cells) {
  for (int column = 1; column <= kLastColumn; ++column) {
    if (was != nullptr && now.Store().SameColumnAs(was->Store(), column)) continue;
    std::vector<Content> after = ColumnContents(now, column);
    std::vector<Content> before;
    if (was != nullptr) before = ColumnContents(*was, column);
    size_t i = 0, j = 0;
    while (i < before.size() || j < after.size()) {
      if (j == after.size() || (i < before.size() && before[i].row < after[j].row)) {
        cells.emplace(before[i++].row, column);
      } else if (i == before.size() || after[j].row < before[i].row) {
        cells.emplace(after[j++].row, column);
      } else {
        if (!SameContent(*before[i].cell, *after[j].cell, after[j].row, column))
          cells.emplace(after[j].row, column);
        ++i, ++j;
      }
    }
  }
}

std::string BlockAddress(const Area& block) {
  std::string address = ColumnLetters(block.column) + std::to_string(block.row);
  if (block.Count() == 1) return address;
  return address + ":" + ColumnLetters(block.LastColumn()) + std::to_string(block.LastRow());
}

}  // namespace

const Sheet* SheetBefore(const BookCopy& copy, const std::string& name) {
  const Sheet* was = nullptr;
  for (const auto& sheet : copy.Sheets()) {
    if (sheet->Name() == name) was = sheet.get();
  }
  return was;
}

ChangedCells CompareWithCopy(const BookCopy& copy, Book& book) {
  ChangedCells changed;
  for (int i = 1; i <= book.SheetCount(); ++i) {
    Sheet& now = book.GetSheet(i);
    std::set<std::pair<int, int>> cells;
    CompareSheets(SheetBefore(copy, now.Name()), now, cells);
    if (!cells.empty()) changed[now.Name()] = std::move(cells);
  }
  return changed;
}

std::vector<std::string> ChangedAreas(const ChangedCells& cells, size_t most) {
  std::vector<std::string> areas;
  for (const auto& [sheet, changed] : cells) {
    // Blocks still growing downwards: (first column, last column) -> (first row, last row).
    std::map<std::pair<int, int>, std::pair<int, int>> open;
    std::vector<Area> blocks;
    auto close = [&](auto it) {
      const auto& [columns, rows] = *it;
      blocks.push_back(Area{rows.first, columns.first, rows.second - rows.first + 1,
                            columns.second - columns.first + 1});
      return open.erase(it);
    };
    auto row = changed.begin();
    while (row != changed.end()) {
      int r = row->first;
      // The runs of neighbouring columns changed in this row.
      std::vector<std::pair<int, int>> runs;
      for (; row != changed.end() && row->first == r; ++row) {
        if (!runs.empty() && runs.back().second + 1 == row->second) {
          runs.back().second = row->second;
        } else {
          runs.emplace_back(row->second, row->second);
        }
      }
      for (const auto& run : runs) {
        auto found = open.find(run);
        if (found != open.end() && found->second.second == r - 1) {
          found->second.second = r;
        } else {
          if (found != open.end()) close(found);
          open.emplace(run, std::make_pair(r, r));
        }
      }
      for (auto it = open.begin(); it != open.end();) {
        it = it->second.second < r ? close(it) : std::next(it);
      }
    }
    for (auto it = open.begin(); it != open.end();) it = close(it);
    // Top to bottom, left to right.
    std::sort(blocks.begin(), blocks.end(), [](const Area& a, const Area& b) {
      return std::pair(a.row, a.column) < std::pair(b.row, b.column);
    });
    std::string prefix = SheetPrefix(sheet);
    for (const Area& block : blocks) {
      if (areas.size() == most) return areas;
      areas.push_back(prefix + BlockAddress(block));
    }
  }
  return areas;
}

}  // namespace tavrin
