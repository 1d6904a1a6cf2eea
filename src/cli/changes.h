#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

class Book;
class Sheet;

// What a cell shows in a change listing: its formula text, or its value's text (an error value
// as the host shows it, "#N/A").
using CellContents = std::map<std::pair<int, int>, std::string>;

// The contents of every sheet of a workbook, by sheet name, taken before a run to list what
// the run changed.
class WorkbookSnapshot {
 public:
  explicit WorkbookSnapshot(Book& book);

  // Prints the cells whose contents differ now, sheet by sheet: the cell, what it held, what it
  // holds; a sheet the run added is named with its size. Returns the number of changed cells.
  long long PrintChanges(Book& book, std::ostream& out, long long limit = 200) const;

  static CellContents Contents(Sheet& sheet);

 private:
  std::vector<std::pair<std::string, CellContents>> sheets;
};

}  // namespace tavrin
