#include "tools/tool_table.h"

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
       .purpose = "清除所选区域中值为常数 0 的单元格，公式不动。按“确定”后在表格上选定区域。",
       .walkthrough = "在 Zeros 表上按“确定”，选定 B2:D4 后确认：常数 0 被清除，文字“00”保留。",
       .run = &Korvel::SC0,
       .controls = {},
       .asksForRange = true});
  tools.push_back(
      {.name = "clear-zero-values",
       .method = "SCGS0",
       .macro = "F5",
       .caption = "删除值为0的单元格(含公式)",
       .description = "Clear every cell of a range whose value is 0, formulas included, after a "
                      "warning (--yes answers it)",
       .example = "tavrin clear-zero-values book.xlsx --range B2:D20 --yes -o cleared.xlsx",
       .purpose = "清除所选区域中值为 0 的所有单元格，包括结果为 0 "
                  "的公式；清除前会提醒。按“确定”后在表格上选定区域。",
       .walkthrough = "在 Zeros 表上按“确定”，选定 B2:D4，在提醒中选“是”。",
       .run = &Korvel::SCGS0,
       .controls = {},
       .asksForRange = true});
  return tools;
}

}  // namespace tavrin
