#include "host/host_error.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

Cell Sheet::Placed(Cell cell, int row, int column) {
  if (cell.formula) {
    cell.formula = SheetCalc::Place(cell.formula->tree, row, column);
    cell.value = Variant();
  }
  return cell;
}

CellBlock Sheet::ReadBlock(const Area& area, bool withResults) const {
  CellBlock block = CellBlock::Read(store_, area);
  for (CellBlock::Placed& placed : block.cells) {
    if (!placed.cell.formula) continue;
    int row = area.row + placed.row, column = area.column + placed.column;
    SheetCalc::TreeOf(*placed.cell.formula, row, column);
    if (withResults) placed.cell.value = CellValue(row, column);
  }
  return block;
}

// The default fill: the source block repeated over the destination, which holds the source and
// extends it down, up, right or left. Formulas keep their relative references relative, so
// every copy shares the source's tree; constants, numbers included, copy as they are.
void Sheet::AutoFill(const tavrin::Range& source, const tavrin::Range& destination,
                     XlAutoFillType type) {
  book_.Parent().BetweenOperations();
  const Area& from = source.FirstArea();
  const Area& to = destination.FirstArea();
  bool sameColumns = from.column == to.column && from.columns == to.columns;
  bool sameRows = from.row == to.row && from.rows == to.rows;
  bool alongRows = sameColumns && (to.row == from.row || to.LastRow() == from.LastRow());
  bool alongColumns =
      sameRows && (to.column == from.column || to.LastColumn() == from.LastColumn());
  if (type != xlFillDefault || &SheetOf(destination) != this || (!alongRows && !alongColumns) ||
      !to.Contains(from.row, from.column) || !to.Contains(from.LastRow(), from.LastColumn())) {
    throw HostError::MethodFailed("Range", "AutoFill");
  }
  CellBlock block = ReadBlock(from);
  std::vector<const Cell*> pattern(static_cast<size_t>(from.Count()), nullptr);
  for (const CellBlock::Placed& placed : block.cells)
    pattern[static_cast<size_t>(placed.row) * from.columns + placed.column] = &placed.cell;
  auto wrap = [](int offset, int size) { return ((offset % size) + size) % size; };
  for (int c = to.column; c <= to.LastColumn(); ++c) {
    for (int r = to.row; r <= to.LastRow(); ++r) {
      if (from.Contains(r, c)) continue;
      int i = wrap(r - from.row, from.rows), j = wrap(c - from.column, from.columns);
      const Cell* cell = pattern[static_cast<size_t>(i) * from.columns + j];
      store_.Put(r, c, cell ? Placed(*cell, r, c) : Cell());
    }
  }
}

}  // namespace tavrin
