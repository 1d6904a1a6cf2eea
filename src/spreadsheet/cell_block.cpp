#include "spreadsheet/cell_block.h"

namespace tavrin {

CellBlock CellBlock::Read(const CellStore& store, const Area& area) {
  CellBlock block{area.rows, area.columns, {}, {}};
  store.ForEach(area, [&](int row, int column, const Cell& cell) {
    if (!cell.IsBlank()) block.cells.push_back({row - area.row, column - area.column, cell});
  });
  return block;
}

CellBlock CellBlock::Transposed() const {
  CellBlock block{columns, rows, {}, {}};
  block.cells.reserve(cells.size());
  // A transposed formula would need its references turned too; it is pasted as its result.
  for (const Placed& placed : cells) {
    block.cells.push_back({placed.column, placed.row, placed.cell});
    block.cells.back().cell.formula = nullptr;
  }
  return block;
}

}  // namespace tavrin
