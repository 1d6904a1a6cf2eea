#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

class Sheet;

// A sheet as the workbook part lists it.
struct WorkbookSheet {
  Sheet* sheet;
  std::string sheetId;
  std::string relationshipId;
};

// The workbook part: the sheets in order, their print titles and print areas as defined names,
// the active tab, and a request to recalculate on load. Given the part as read ("" for none),
// everything else in it is kept (other defined names follow their sheets to their new places).
std::string WriteWorkbookPart(std::string_view original, const std::vector<WorkbookSheet>& sheets,
                              int activeTab);

}  // namespace tavrin
