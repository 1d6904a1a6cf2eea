#include "session/used_area.h"

#include "spreadsheet/sheet.h"

namespace tavrin {

bool UsedArea(const Sheet& sheet, Area& area) {
  std::optional<Area> used = sheet.UsedArea();
  if (!used) return false;
  area = Area{1, 1, used->LastRow(), used->LastColumn()};
  return true;
}

}  // namespace tavrin
