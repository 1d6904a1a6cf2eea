#pragma once

#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>

#include "calc/calc_document.h"
#include "host/block.h"
#include "host/variant.h"

namespace tavrin {

// Cell values between Calc and the host's Variant. A number in a cell formatted as a date or
// time reads as a date, and one formatted as a Boolean reads as True or False, as the host
// reads them; a formula's "" reads as text, an error as the host's error value.

Variant ReadCell(const uno::Reference<com::sun::star::table::XCell>& cell, CalcDocument& document);
// The values of a block of cells, read in one call and mended where one call cannot tell.
Block ReadCells(const uno::Reference<com::sun::star::table::XCellRange>& cells, int rows,
                int columns, CalcDocument& document);

// Writes constants (no formulas) into a block of cells: numbers, texts, Booleans and dates
// with the formats that show them so, an empty value clears, an error value becomes the
// formula of that error.
void WriteCells(const uno::Reference<com::sun::star::table::XCellRange>& cells, const Block& values,
                CalcDocument& document);

// The host's error value of a Calc error code.
ErrorValue ErrorOfCode(sal_Int32 code);

}  // namespace tavrin
