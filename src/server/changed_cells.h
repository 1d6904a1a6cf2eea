#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

class Book;
class BookCopy;
class Sheet;

// The cells a run changed, by sheet name, as (row, column).
using ChangedCells = std::map<std::string, std::set<std::pair<int, int>>>;

// Which cells a run changed, for the page's marks and Undo and for the command line's preview:
// the cells whose content (formula text, or value) differs between the copy taken before the run
// and the workbook now, every cell of a sheet the run added. Only the columns whose version
// stamps moved are looked at.
ChangedCells CompareWithCopy(const BookCopy& copy, Book& book);

// The copy's sheet of that name, or nullptr: a sheet the run added.
const Sheet* SheetBefore(const BookCopy& copy, const std::string& name);

// The changed cells as areas, sheet by sheet, each a block of cells changed together
// ("Sheet1!H1:J9"), at most `most` of them.
std::vector<std::string> ChangedAreas(const ChangedCells& cells, size_t most = 1000);

}  // namespace tavrin
