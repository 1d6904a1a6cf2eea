#include "calc/found_cells.h"

#include <algorithm>

namespace tavrin {

namespace table = com::sun::star::table;

std::vector<table::CellRangeAddress> FoundWithin(
    const com::sun::star::uno::Reference<com::sun::star::sheet::XSheetCellRanges>& found,
    const table::CellRangeAddress& within) {
  std::vector<table::CellRangeAddress> cut;
  if (!found.is()) return cut;
  for (table::CellRangeAddress range : found->getRangeAddresses()) {
    range.StartRow = std::max(range.StartRow, within.StartRow);
    range.EndRow = std::min(range.EndRow, within.EndRow);
    range.StartColumn = std::max(range.StartColumn, within.StartColumn);
    range.EndColumn = std::min(range.EndColumn, within.EndColumn);
    if (range.Sheet == within.Sheet && range.StartRow <= range.EndRow &&
        range.StartColumn <= range.EndColumn)
      cut.push_back(range);
  }
  return cut;
}

}  // namespace tavrin
