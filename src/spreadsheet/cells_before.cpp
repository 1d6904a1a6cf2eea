#include "spreadsheet/cells_before.h"

#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

CellsBefore::CellsBefore(Book& book, int sheetIndex, const Area& area)
    : book_(book),
      sheetIndex_(sheetIndex),
      area_(area),
      block_(CellBlock::Read(book.GetSheet(sheetIndex).Store(), area)) {}

void CellsBefore::Restore() {
  CellStore& store = book_.GetSheet(sheetIndex_).Store();
  store.Clear(area_, ClearPart::All);
  for (const CellBlock::Placed& placed : block_.cells)
    store.Put(area_.row + placed.row, area_.column + placed.column, placed.cell);
}

}  // namespace tavrin
