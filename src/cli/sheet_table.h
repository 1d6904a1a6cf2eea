#pragma once

#include <iosfwd>

#include "host/address.h"

namespace tavrin {

class Sheet;

// Prints an area of a sheet as a table: column letters across, row numbers down, each cell
// as it shows (its text), columns padded to their widest cell.
void PrintTable(Sheet& sheet, const Area& area, std::ostream& out);

}  // namespace tavrin
