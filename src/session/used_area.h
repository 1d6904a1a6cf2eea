#pragma once

#include "host/address.h"

namespace tavrin {

class Sheet;

// A sheet as it is shown: from A1 to the last row and column of its used area (Sheet::UsedArea);
// nothing when the sheet is empty.
bool UsedArea(const Sheet& sheet, Area& area);

}  // namespace tavrin
