#include "session/tool_table.h"

namespace tavrin {

// The two tools of the menu entry 删除0值; both ask for the range with the host's input box.
std::vector<ToolDefinition> CleaningTools() {
  std::vector<ToolDefinition> tools;
  tools.push_back(
      {.name = "clear-zeros",
       .method = "SC0",
       .macro = "F5",
       .caption = "删除常量0",
       .description = "Clear the cells of a range that hold the constant 0 (formulas stay)",
       .example = "tavrin clear-zeros book.xlsx --range B2:D20 -o cleared.xlsx",
       .run = &Korvel::SC0,
       .options = {},
       .asksForRange = true});
  tools.push_back(
      {.name = "clear-zero-values",
       .method = "SCGS0",
       .macro = "F5",
       .caption = "删除值为0的单元格(含公式)",
       .description = "Clear every cell of a range whose value is 0, formulas included, after a "
                      "warning (--yes answers it)",
       .example = "tavrin clear-zero-values book.xlsx --range B2:D20 --yes -o cleared.xlsx",
       .run = &Korvel::SCGS0,
       .options = {},
       .asksForRange = true});
  return tools;
}

}  // namespace tavrin
