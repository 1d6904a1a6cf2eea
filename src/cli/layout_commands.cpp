#include "cli/layout_commands.h"

#include "cli/tool_command.h"

namespace tavrin {

void AddLayoutCommands(CLI::App& program, CommandContext& context) {
  using Kind = ControlOption::Kind;
  AddToolCommand(
      program, context,
      {"page-subtotals",
       "FYXJYHJ",
       "On a copy of the sheet, end every printed page with a subtotal row and add a grand total",
       "tavrin page-subtotals sales.xlsx --data D2:E2 --label-column A2 --subtotal-label 小计 "
       "--total-label 合计",
       &Korvel::FYXJYHJ,
       {{"--data",
         "RefEdit1",
         "The summed columns; its first row is the first data row",
         Kind::Text,
         {},
         true},
        {"--label-column",
         "RefEdit2",
         "A cell of the column that receives the labels",
         Kind::Text,
         {},
         true},
        {"--subtotal-label",
         "TextBox1",
         "The label of every page's subtotal row",
         Kind::Text,
         {},
         true},
        {"--total-label", "TextBox2", "The label of the grand-total row", Kind::Text, {}, true},
        {"--keep-manual-breaks", "CheckBox1",
         "A page ending at a manual break keeps all its rows; its subtotal goes below them",
         Kind::Flag}}});
  AddToolCommand(
      program, context,
      {"partition",
       "SJFQ",
       "On a copy of the sheet, fold a long list into chunks side by side, the title rows "
       "printed on every page",
       "tavrin partition sales.xlsx --title-rows 1 --groups-across 3 --lead-columns 0 "
       "--group-rows 40 --gap-columns 1",
       &Korvel::SJFQ,
       {{"--title-rows", "TextBox1", "Title rows at the top of the sheet", Kind::Text, {}, true},
        {"--groups-across", "TextBox2", "Chunks side by side in one band", Kind::Text, {}, true},
        {"--lead-columns", "TextBox3", "Columns left of the list", Kind::Text, {}, true},
        {"--group-rows", "TextBox4", "Rows in a chunk", Kind::Text, {}, true},
        {"--gap-columns", "TextBox5", "Blank columns between chunks", Kind::Text, {}, true}}});
}

}  // namespace tavrin
