#include "spreadsheet/size_before.h"

#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

SizeBefore SizeBefore::OfColumn(Book& book, int sheetIndex, int column) {
  SizeBefore before(book, sheetIndex);
  before.column_ = column;
  before.width_ = book.GetSheet(sheetIndex).OwnColumnWidth(column);
  return before;
}

SizeBefore SizeBefore::OfRow(Book& book, int sheetIndex, int row) {
  SizeBefore before(book, sheetIndex);
  before.row_ = row;
  if (const StoredRowHeight* height = book.GetSheet(sheetIndex).RowHeights().Find(row))
    before.height_ = *height;
  return before;
}

void SizeBefore::Restore() {
  Sheet& sheet = book_.GetSheet(sheetIndex_);
  if (column_ != 0) {
    if (width_) {
      sheet.SetColumnWidth(column_, *width_);
    } else {
      sheet.ClearColumnWidth(column_);
    }
  } else if (height_) {
    sheet.SetRowHeight(row_, height_->points, height_->fitted);
  } else {
    sheet.ClearRowHeight(row_);
  }
}

}  // namespace tavrin
