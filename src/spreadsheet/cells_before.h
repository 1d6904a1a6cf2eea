#pragma once

#include "host/address.h"
#include "spreadsheet/cell_block.h"

namespace tavrin {

class Book;

// The cells of a block of one sheet as they stood before an edit, kept to put them back (an
// undo of the edit): their contents, formulas and formats. The sheet is kept by its place in
// the workbook, as an undo of a later change may have put another copy of it there.
class CellsBefore {
 public:
  CellsBefore(Book& book, int sheetIndex, const Area& area);

  // Puts the block's cells back as they stood; the cells written since are gone.
  void Restore();

 private:
  Book& book_;
  int sheetIndex_;
  Area area_;
  CellBlock block_;
};

}  // namespace tavrin
