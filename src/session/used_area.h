#pragma once

#include "host/address.h"

namespace tavrin {

class Sheet;

// The used area of a sheet: from A1 to the last row and column holding content; nothing when
// the sheet is empty.
bool UsedArea(const Sheet& sheet, Area& area);

}  // namespace tavrin
