#pragma once

#include <vector>

#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>

namespace tavrin {

// The ranges a query of Calc's found (queryContentCells, queryFormulaCells), cut to the range
// asked about: a query of a single cell can answer with cells beside it.
std::vector<com::sun::star::table::CellRangeAddress> FoundWithin(
    const com::sun::star::uno::Reference<com::sun::star::sheet::XSheetCellRanges>& found,
    const com::sun::star::table::CellRangeAddress& within);

}  // namespace tavrin
