#include "tools/tool_table.h"

namespace tavrin {

// 分页小计与合计 and 数据分区, a menu entry each.
std::vector<ToolDefinition> LayoutTools() {
  using Kind = ControlKind;
  std::vector<ToolDefinition> tools;
  tools.push_back(
      {.name = "page-subtotals",
       .method = "FYXJYHJ",
       .macro = "F4",
       .caption = "分页小计与合计",
       .description = "On a copy of the sheet, end every printed page with a subtotal row and add "
                      "a grand total",
       .example = "tavrin page-subtotals sales.xlsx --data D2:E2 --label-column A2 "
                  "--subtotal-label 小计 --total-label 合计",
       .purpose = "在工作表的副本上，每个打印页的末尾加一行小计，最后加一行合计。",
       .walkthrough = "求和数据列 D2:E2，标签所在列 A2，小计标签“小计”，合计标签“合计”。",
       .run = &Korvel::FYXJYHJ,
       .controls = {{.name = "RefEdit1",
                     .kind = Kind::Reference,
                     .label = "求和数据列(首行为第一个数据行)",
                     .flags = "--data",
                     .help = "The summed columns; its first row is the first data row",
                     .explanation = "要求和的列，所选的第一行是第一个数据行。",
                     .required = true},
                    {.name = "RefEdit2",
                     .kind = Kind::Reference,
                     .label = "标签所在列",
                     .flags = "--label-column",
                     .help = "A cell of the column that receives the labels",
                     .explanation = "写小计、合计标签的那一列中的任一单元格。",
                     .required = true},
                    {.name = "TextBox1",
                     .kind = Kind::Text,
                     .label = "小计标签",
                     .flags = "--subtotal-label",
                     .help = "The label of every page's subtotal row",
                     .explanation = "每页小计行的标签。",
                     .required = true},
                    {.name = "TextBox2",
                     .kind = Kind::Text,
                     .label = "合计标签",
                     .flags = "--total-label",
                     .help = "The label of the grand-total row",
                     .explanation = "合计行的标签。",
                     .required = true},
                    {.name = "CheckBox1",
                     .kind = Kind::Check,
                     .label = "保留手动分页符所在页的全部行",
                     .flags = "--keep-manual-breaks",
                     .help = "A page ending at a manual break keeps its rows and its subtotal goes "
                             "below them (a full page gives up its last row to make room)",
                     .explanation = "以手动分页符结束的页保留全部行，小计放在它们下面。"}}});
  tools.push_back(
      {.name = "partition",
       .method = "SJFQ",
       .macro = "F3",
       .caption = "数据分区",
       .description = "On a copy of the sheet, fold a long list into chunks side by side, the "
                      "title rows printed on every page",
       .example = "tavrin partition sales.xlsx --title-rows 1 --groups-across 3 --lead-columns 0 "
                  "--group-rows 40 --gap-columns 1",
       .purpose = "在工作表的副本上，把很长的清单折成并排的几个分区，标题行在每页都打印。",
       .walkthrough =
           "标题行数 1，每排分区数 2，清单左侧的列数 0，每个分区的行数 40，分区之间的空列数 1。",
       .run = &Korvel::SJFQ,
       .controls = {{.name = "TextBox1",
                     .kind = Kind::Text,
                     .label = "标题行数",
                     .flags = "--title-rows",
                     .help = "Title rows at the top of the sheet",
                     .explanation = "工作表顶部的标题行数。",
                     .required = true},
                    {.name = "TextBox2",
                     .kind = Kind::Text,
                     .label = "每排分区数",
                     .flags = "--groups-across",
                     .help = "Chunks side by side in one band",
                     .explanation = "一排中并排的分区个数。",
                     .required = true},
                    {.name = "TextBox3",
                     .kind = Kind::Text,
                     .label = "清单左侧的列数",
                     .flags = "--lead-columns",
                     .help = "Columns left of the list",
                     .explanation = "清单左边不属于清单的列数。",
                     .required = true},
                    {.name = "TextBox4",
                     .kind = Kind::Text,
                     .label = "每个分区的行数",
                     .flags = "--group-rows",
                     .help = "Rows in a chunk",
                     .explanation = "每个分区的行数。",
                     .required = true},
                    {.name = "TextBox5",
                     .kind = Kind::Text,
                     .label = "分区之间的空列数",
                     .flags = "--gap-columns",
                     .help = "Blank columns between chunks",
                     .explanation = "分区之间留的空列数。",
                     .required = true}}});
  return tools;
}

}  // namespace tavrin
