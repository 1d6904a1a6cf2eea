#pragma once

#include <optional>

#include "spreadsheet/sheet_layout.h"

namespace tavrin {

class Book;

// A column's width or a row's height as it stood before a resize, kept to put it back (an undo
// of the resize): its own size, or none when it had the sheet's default. The sheet is kept by
// its place in the workbook, as CellsBefore keeps it.
class SizeBefore {
 public:
  static SizeBefore OfColumn(Book& book, int sheetIndex, int column);
  static SizeBefore OfRow(Book& book, int sheetIndex, int row);

  // Puts the size back as it stood, the default included.
  void Restore();

 private:
  SizeBefore(Book& book, int sheetIndex) : book_(book), sheetIndex_(sheetIndex) {}

  Book& book_;
  int sheetIndex_;
  int column_ = 0;  // 0 for a row's height
  int row_ = 0;
  std::optional<double> width_;
  std::optional<StoredRowHeight> height_;
};

}  // namespace tavrin
