#include "cli/changes.h"

#include <ostream>

#include "host/variant_rules.h"
#include "session/used_area.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

std::string CellName(const std::string& sheet, int row, int column) {
  return sheet + "!" + ColumnLetters(column) + std::to_string(row);
}

std::string Shown(const CellContents& contents, std::pair<int, int> cell) {
  auto found = contents.find(cell);
  return found == contents.end() ? "(empty)" : found->second;
}

}  // namespace

CellContents WorkbookSnapshot::Contents(Sheet& sheet) {
  CellContents contents;
  const CellStore& store = sheet.Store();
  store.ForEach(Area{1, 1, kLastRow, kLastColumn}, [&](int row, int column, const Cell& cell) {
    if (!cell.HasContent()) return;
    contents[{row, column}] = cell.formula           ? FormulaText(*cell.formula, row, column)
                              : cell.value.IsError() ? std::string(ErrorText(cell.value.AsError()))
                                                     : TextOf(cell.value, sheet.Locale());
  });
  return contents;
}

WorkbookSnapshot::WorkbookSnapshot(Book& book) {
  for (int i = 1; i <= book.SheetCount(); ++i) {
    Sheet& sheet = book.GetSheet(i);
    sheets.emplace_back(sheet.Name(), Contents(sheet));
  }
}

long long WorkbookSnapshot::PrintChanges(Book& book, std::ostream& out, long long limit) const {
  long long changed = 0;
  long long newCells = 0;
  for (int i = 1; i <= book.SheetCount(); ++i) {
    Sheet& sheet = book.GetSheet(i);
    const CellContents* before = nullptr;
    for (const auto& [name, contents] : sheets) {
      if (name == sheet.Name()) before = &contents;
    }
    CellContents after = Contents(sheet);
    if (before == nullptr) {
      // A sheet the run added (a copy the tool works on): its size, not every cell.
      Area used;
      out << "New sheet \"" << sheet.Name() << "\"";
      if (UsedArea(sheet, used)) out << ", " << AreaAddress(used);
      out << ", " << after.size() << " cells: see it with show --sheet \"" << sheet.Name()
          << "\"\n";
      newCells += static_cast<long long>(after.size());
      continue;
    }
    // Listed row by row, left to right: the keys are (row, column).
    std::map<std::pair<int, int>, bool> cells;
    for (const auto& entry : *before) cells[entry.first] = true;
    for (const auto& entry : after) cells[entry.first] = true;
    for (const auto& [cell, unused] : cells) {
      std::string was = Shown(*before, cell);
      std::string now = Shown(after, cell);
      if (was == now) continue;
      if (++changed <= limit) {
        out << CellName(sheet.Name(), cell.first, cell.second) << "\t" << was << "\t-> " << now
            << '\n';
      }
    }
  }
  if (changed > limit) out << "... and " << (changed - limit) << " more changed cells\n";
  if (changed + newCells == 0) out << "No cell changed.\n";
  return changed + newCells;
}

}  // namespace tavrin
