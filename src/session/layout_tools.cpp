#include "session/tool_table.h"

namespace tavrin {

// 分页小计与合计 and 数据分区, a menu entry each.
std::vector<ToolDefinition> LayoutTools() {
  using Kind = ControlOption::Kind;
  std::vector<ToolDefinition> tools;
  tools.push_back(
      {.name = "page-subtotals",
       .method = "FYXJYHJ",
       .macro = "F4",
       .caption = "分页小计与合计",
       .description =
           "On a copy of the sheet, end every printed page with a subtotal row and add a grand "
           "total",
       .example = "tavrin page-subtotals sales.xlsx --data D2:E2 --label-column A2 "
                  "--subtotal-label 小计 --total-label 合计",
       .run = &Korvel::FYXJYHJ,
       .options = {{.flags = "--data",
                    .control = "RefEdit1",
                    .help = "The summed columns; its first row is the first data row",
                    .label = "求和数据列(首行为第一个数据行)",
                    .required = true},
                   {.flags = "--label-column",
                    .control = "RefEdit2",
                    .help = "A cell of the column that receives the labels",
                    .label = "标签所在列",
                    .required = true},
                   {.flags = "--subtotal-label",
                    .control = "TextBox1",
                    .help = "The label of every page's subtotal row",
                    .label = "小计标签",
                    .required = true},
                   {.flags = "--total-label",
                    .control = "TextBox2",
                    .help = "The label of the grand-total row",
                    .label = "合计标签",
                    .required = true},
                   {.flags = "--keep-manual-breaks",
                    .control = "CheckBox1",
                    .help = "A page ending at a manual break keeps its rows and its subtotal "
                            "goes below them (a full page gives up its last row to make room)",
                    .label = "保留手动分页符所在页的全部行",
                    .kind = Kind::Flag}}});
  tools.push_back(
      {.name = "partition",
       .method = "SJFQ",
       .macro = "F3",
       .caption = "数据分区",
       .description = "On a copy of the sheet, fold a long list into chunks side by side, the "
                      "title rows printed on every page",
       .example = "tavrin partition sales.xlsx --title-rows 1 --groups-across 3 --lead-columns 0 "
                  "--group-rows 40 --gap-columns 1",
       .run = &Korvel::SJFQ,
       .options = {{.flags = "--title-rows",
                    .control = "TextBox1",
                    .help = "Title rows at the top of the sheet",
                    .label = "标题行数",
                    .required = true},
                   {.flags = "--groups-across",
                    .control = "TextBox2",
                    .help = "Chunks side by side in one band",
                    .label = "每排分区数",
                    .required = true},
                   {.flags = "--lead-columns",
                    .control = "TextBox3",
                    .help = "Columns left of the list",
                    .label = "清单左侧的列数",
                    .required = true},
                   {.flags = "--group-rows",
                    .control = "TextBox4",
                    .help = "Rows in a chunk",
                    .label = "每个分区的行数",
                    .required = true},
                   {.flags = "--gap-columns",
                    .control = "TextBox5",
                    .help = "Blank columns between chunks",
                    .label = "分区之间的空列数",
                    .required = true}}});
  return tools;
}

}  // namespace tavrin
