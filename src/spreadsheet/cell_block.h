#pragma once

#include <vector>

#include "host/address.h"
#include "spreadsheet/cell_store.h"

namespace tavrin {

// A copied block of cells, as the clipboard and Copy hold it: its size and the cells that are not
// blank, placed by their offsets from the block's top-left cell (0-based).
struct CellBlock {
  struct Placed {
    int row;
    int column;
    Cell cell;
  };

  int rows = 0;
  int columns = 0;
  std::vector<Placed> cells;
  // The heights of the rows when whole rows were copied, top to bottom; empty otherwise.
  std::vector<double> rowHeights;

  static CellBlock Read(const CellStore& store, const Area& area);
  // Rows become columns.
  CellBlock Transposed() const;
};

}  // namespace tavrin
