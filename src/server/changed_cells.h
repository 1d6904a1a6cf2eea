#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tavrin {

class Book;
class BookCopy;

// The cells a run changed, by sheet name, as (row, column).
using ChangedCells = std::map<std::string, std::set<std::pair<int, int>>>;

// The cells whose content (formula text, or value) differs between the copy taken before a run
// and the workbook now; every cell of a sheet the run added.
ChangedCells CompareWithCopy(const BookCopy& copy, Book& book);

// The changed cells as areas, sheet by sheet, each a block of cells changed together
// ("Sheet1!H1:J9"), at most `most` of them.
std::vector<std::string> ChangedAreas(const ChangedCells& cells, size_t most = 1000);

}  // namespace tavrin
