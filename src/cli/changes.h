#pragma once

#include <iosfwd>

#include "spreadsheet/book_copy.h"

namespace tavrin {

class Book;

// A workbook as it stood before a run, kept to list what the run changed.
class WorkbookSnapshot {
 public:
  explicit WorkbookSnapshot(Book& book) : before(book) {}

  // Prints the changed cells (server/changed_cells.h) whose contents read differently now,
  // sheet by sheet, row by row: the cell, what it held, what it holds (its formula text, or
  // its value's text with an error value as the host shows it, "#N/A"); a sheet the run added is
  // named with its size. Returns the number of changed cells.
  long long PrintChanges(Book& book, std::ostream& out, long long limit = 200) const;

 private:
  BookCopy before;
};

}  // namespace tavrin
