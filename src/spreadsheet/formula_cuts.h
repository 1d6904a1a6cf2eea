#pragma once

#include "host/address.h"

namespace tavrin {

class Book;
class Sheet;

// After the cells of an area of a sheet were cut and pasted with their top-left cell at
// (row, column) of the same sheet, as the host's Cut does: a reference that lies wholly in the
// cut area follows its cells, from the moved formulas and from every other formula of the
// workbook; a reference that lies wholly in the cells pasted over becomes #REF!; the moved
// formulas' other references keep pointing at the cells they pointed at.
void MoveFormulaCut(Book& book, Sheet& sheet, const Area& cut, int row, int column);

}  // namespace tavrin
