#include "session/used_area.h"

#include <algorithm>

#include "spreadsheet/sheet.h"

namespace tavrin {

bool UsedArea(const Sheet& sheet, Area& area) {
  int lastRow = 0;
  int lastColumn = 0;
  for (int column = 1; column <= kLastColumn; ++column) {
    int row = sheet.Store().Column(column).PreviousContent(kLastRow);
    if (row > 0) {
      lastRow = std::max(lastRow, row);
      lastColumn = column;
    }
  }
  if (lastRow == 0) return false;
  area = Area{1, 1, lastRow, lastColumn};
  return true;
}

}  // namespace tavrin
