#include "session/tool_table.h"

namespace tavrin {

// 清单转表格 and 表格转清单, a menu entry each.
std::vector<ToolDefinition> ReshapeTools() {
  using Kind = ControlOption::Kind;
  std::vector<ToolDefinition> tools;
  tools.push_back(
      {.name = "list-to-table",
       .method = "QDZBG",
       .macro = "F7",
       .caption = "清单转表格",
       .description =
           "Turn a list into a cross table: distinct row and column labels, the values summed "
           "(--sum) or placed (--place) in the body",
       .example = "tavrin list-to-table sales.xlsx --list A1:C200 --destination F1 --row-field A1 "
                  "--column-field B1 --value-field C1 --sum",
       .run = &Korvel::QDZBG,
       .options = {{.flags = "--list",
                    .control = "RefEdit1",
                    .help = "The list, field-name row included",
                    .label = "清单区域(含字段名行)",
                    .required = true},
                   {.flags = "--destination",
                    .control = "RefEdit2",
                    .help = "The table's top-left corner",
                    .label = "表格存放位置(左上角)",
                    .required = true},
                   {.flags = "--row-field",
                    .control = "RefEdit3",
                    .help = "A cell of the row-label column",
                    .label = "行标签字段",
                    .required = true},
                   {.flags = "--column-field",
                    .control = "RefEdit4",
                    .help = "A cell of the column-label column",
                    .label = "列标签字段",
                    .required = true},
                   {.flags = "--value-field",
                    .control = "RefEdit5",
                    .help = "A cell of the value column",
                    .label = "数值字段",
                    .required = true},
                   {.flags = "--sum",
                    .control = "OptionButton1",
                    .help = "Add up the values of the records of each cell",
                    .label = "求和",
                    .kind = Kind::Flag},
                   {.flags = "--place",
                    .control = "OptionButton2",
                    .help = "Put the last record's value in each cell",
                    .label = "填入最后一条记录的值",
                    .kind = Kind::Flag}}});
  tools.push_back(
      {.name = "table-to-list",
       .method = "BGZQD",
       .macro = "F8",
       .caption = "表格转清单",
       .description =
           "Unroll a cross table into a list of label, label and value, row by row (--by-row) or "
           "column by column (--by-column)",
       .example =
           "tavrin table-to-list sales.xlsx --table F1:I4 --destination K1 --by-row --skip-empty",
       .run = &Korvel::BGZQD,
       .options = {{.flags = "--table",
                    .control = "RefEdit1",
                    .help = "The table, label row and label column included",
                    .label = "表格区域(含标签行和标签列)",
                    .required = true},
                   {.flags = "--destination",
                    .control = "RefEdit2",
                    .help = "The list's first cell",
                    .label = "清单存放位置",
                    .required = true},
                   {.flags = "--by-row",
                    .control = "OptionButton1",
                    .help = "Read row by row: row label, column label, value",
                    .label = "按行读取",
                    .kind = Kind::Flag},
                   {.flags = "--by-column",
                    .control = "OptionButton2",
                    .help = "Read column by column: column label, row label, value",
                    .label = "按列读取",
                    .kind = Kind::Flag},
                   {.flags = "--skip-empty",
                    .control = "CheckBox1",
                    .help = "Leave out empty body cells",
                    .label = "忽略空单元格",
                    .kind = Kind::Flag}}});
  return tools;
}

}  // namespace tavrin
