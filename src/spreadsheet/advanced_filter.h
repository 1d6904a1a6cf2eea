#pragma once

#include <functional>

#include "host/address.h"
#include "spreadsheet/cell_store.h"

namespace tavrin {

// The advanced filter's copy to another place, without criteria: the list's first row (its
// field names), then its records, each distinct record once in order of first appearance when
// unique is set, are written as values from the cell (row, column) of the destination down and
// to the right. Records compare as the host compares them: all columns together, texts with
// letter case ignored, numbers (and dates) by value, a number never equal to a text, an empty
// cell equal only to an empty cell. A copy that would run past the sheet's edge fails (1004).
// A formula cell of the list gives its result, as valueOf computes it.
void CopyFilteredRows(const CellStore& source, const Area& list,
                      const std::function<Variant(int, int, const Cell&)>& valueOf,
                      CellStore& destination, int row, int column, bool unique);

}  // namespace tavrin
