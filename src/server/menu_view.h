#pragma once

#include <nlohmann/json_fwd.hpp>

namespace tavrin {

class Spreadsheet;

// The menu "Tavrin(&U)" on the worksheet menu bar and the toolbar "Tavrin" as the command-bar
// model holds them: {"menu": {...} | null, "toolbar": {...} | null}, each entry with its
// caption (accelerator "&" as stored), action, icon, separator before it and entries.
nlohmann::json MenuOf(Spreadsheet& app);

// Takes the menu and the toolbar away, as the host workbook's QuitTools does; what is already
// gone is left so.
void RemoveMenuAndToolbar(Spreadsheet& app);

}  // namespace tavrin
