#include <algorithm>

#include "host/host_error.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/typed_entry.h"

namespace tavrin {

Variant Sheet::Value(const tavrin::Range& cell) {
  return CellValue(cell.Row(), cell.Column());
}

Variant Sheet::CellValue(int row, int column) const {
  const Cell* found = store_.Find(row, column);
  if (found == nullptr) return Variant();
  return found->formula ? calc_->Value(row, column, *found) : found->value;
}

std::optional<Area> Sheet::UsedArea(UsedCells cells) const {
  bool formats = cells == UsedCells::ContentAndFormats;
  int firstRow = kLastRow, lastRow = 0, firstColumn = 0, lastColumn = 0;
  for (int c = 1; c <= kLastColumn; ++c) {
    const CellColumn& column = store_.Column(c);
    int last = formats ? column.LastNotBlank() : column.PreviousContent(kLastRow);
    if (last == 0) continue;
    firstRow = std::min(firstRow, formats ? column.FirstNotBlank() : column.NextContent(1));
    lastRow = std::max(lastRow, last);
    if (firstColumn == 0) firstColumn = c;
    lastColumn = c;
  }
  if (lastRow == 0) return std::nullopt;
  return Area{firstRow, firstColumn, lastRow - firstRow + 1, lastColumn - firstColumn + 1};
}

// A formula is read once, in the first cell, and every cell of the range gets the same relative
// formula, as the host fills a formula typed into a selection. A text that is a formula in
// neither notation is refused.
void Sheet::WriteEntry(const tavrin::Range& range, const Variant& value, Notation first) {
  Entry entry = ReadEntry(value, Locale());
  bool clears = entry.value.IsEmpty() && !entry.formula;
  TreePtr tree;
  if (entry.formula) {
    tree = calc_->Parse(entry.formula->text, first, range.Row(), range.Column());
    if (!tree) throw HostError::ApplicationDefined();
  }
  for (const Area& area : range.Areas()) {
    if (clears) {
      store_.Clear(area, ClearPart::Contents);
      continue;
    }
    for (int c = area.column; c <= area.LastColumn(); ++c) {
      for (int r = area.row; r <= area.LastRow(); ++r)
        store_.SetContent(r, c, entry.value, tree ? SheetCalc::Place(tree, r, c) : nullptr);
    }
  }
}

void Sheet::SetValue(const tavrin::Range& range, const Variant& value) {
  book_.Parent().BetweenOperations();
  WriteEntry(range, value, Notation::A1);
}

Block Sheet::Values(const Area& area) {
  Block block(area.rows, area.columns);
  ForEachValue(area, [&](int row, int column, const Variant& value) {
    block(row - area.row + 1, column - area.column + 1) = value;
  });
  return block;
}

void Sheet::SetValues(const Area& area, const Block& values) {
  book_.Parent().BetweenOperations();
  if (values.Rows() != area.rows || values.Columns() != area.columns) {
    throw HostError::ApplicationDefined();
  }
  const UserLocale& locale = Locale();
  for (int c = 1; c <= area.columns; ++c) {
    for (int r = 1; r <= area.rows; ++r) {
      Entry entry = ReadEntry(values(r, c), locale);
      int row = area.row + r - 1, column = area.column + c - 1;
      if (entry.formula) {
        TreePtr tree = calc_->Parse(entry.formula->text, Notation::A1, row, column);
        if (!tree) throw HostError::ApplicationDefined();
        entry.formula = SheetCalc::Place(tree, row, column);
      }
      store_.SetContent(row, column, std::move(entry.value), std::move(entry.formula));
    }
  }
}

std::string Sheet::Formula(const tavrin::Range& cell) {
  const Cell* found = store_.Find(cell.Row(), cell.Column());
  return found ? EntryText(*found, cell.Row(), cell.Column(), Locale()) : "";
}

void Sheet::SetFormula(const tavrin::Range& range, const std::string& formula) {
  book_.Parent().BetweenOperations();
  WriteEntry(range, Variant(formula), Notation::A1);
}

std::string Sheet::FormulaR1C1(const tavrin::Range& cell) {
  const Cell* found = store_.Find(cell.Row(), cell.Column());
  if (found == nullptr || !found->formula) return Formula(cell);
  return SheetCalc::TreeOf(*found->formula, cell.Row(), cell.Column())->r1c1;
}

void Sheet::SetFormulaR1C1(const tavrin::Range& range, const std::string& formula) {
  book_.Parent().BetweenOperations();
  WriteEntry(range, Variant(formula), Notation::R1C1);
}

std::string Sheet::Text(const tavrin::Range& cell) {
  return DisplayText(Value(cell), Locale());
}

void Sheet::ClearContents(const tavrin::Range& range) {
  book_.Parent().BetweenOperations();
  for (const Area& area : range.Areas()) store_.Clear(area, ClearPart::Contents);
}

}  // namespace tavrin
