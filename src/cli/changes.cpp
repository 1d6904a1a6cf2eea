#include "cli/changes.h"

#include <ostream>
#include <string>

#include "host/variant_rules.h"
#include "server/changed_cells.h"
#include "session/used_area.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

std::string CellName(const std::string& sheet, int row, int column) {
  return sheet + "!" + ColumnLetters(column) + std::to_string(row);
}

// What a cell shows in the listing: its formula text, or its value's text; "(empty)" when it
// holds no content.
std::string Shown(const Sheet& sheet, int row, int column, const UserLocale& locale) {
  const Cell* cell = sheet.Store().Find(row, column);
  if (cell == nullptr || !cell->HasContent()) return "(empty)";
  if (cell->formula) return FormulaText(*cell->formula, row, column);
  if (cell->value.IsError()) return std::string(ErrorText(cell->value.AsError()));
  return TextOf(cell->value, locale);
}

// A sheet the run added (a copy the tool works on): its size, not every cell.
void PrintNewSheet(Sheet& sheet, size_t cells, std::ostream& out) {
  Area used;
  out << "New sheet \"" << sheet.Name() << "\"";
  if (UsedArea(sheet, used)) out << ", " << AreaAddress(used);
  out << ", " << cells << " cells: see it with show --sheet \"" << sheet.Name() << "\"\n";
}

}  // namespace

long long WorkbookSnapshot::PrintChanges(Book& book, std::ostream& out, long long limit) const {
  ChangedCells changed = CompareWithCopy(before, book);
  long long listed = 0;
  long long newCells = 0;
  for (int i = 1; i <= book.SheetCount(); ++i) {
    Sheet& sheet = book.GetSheet(i);
    auto cells = changed.find(sheet.Name());
    size_t count = cells == changed.end() ? 0 : cells->second.size();
    const Sheet* was = SheetBefore(before, sheet.Name());
    if (was == nullptr) {
      PrintNewSheet(sheet, count, out);
      newCells += static_cast<long long>(count);
      continue;
    }
    if (count == 0) continue;
    // Row by row, left to right: the cells are (row, column).
    for (const auto& [row, column] : cells->second) {
      std::string held = Shown(*was, row, column, sheet.Locale());
      std::string holds = Shown(sheet, row, column, sheet.Locale());
      // Content that changed but reads the same (the number 1 become the text "1") is left out.
      if (held == holds) continue;
      if (++listed <= limit) {
        out << CellName(sheet.Name(), row, column) << "\t" << held << "\t-> " << holds << '\n';
      }
    }
  }
  if (listed > limit) out << "... and " << (listed - limit) << " more changed cells\n";
  if (listed + newCells == 0) out << "No cell changed.\n";
  return listed + newCells;
}

}  // namespace tavrin
