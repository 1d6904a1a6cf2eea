#include "cli/reshape_commands.h"

#include "cli/tool_command.h"

namespace tavrin {

void AddReshapeCommands(CLI::App& program, CommandContext& context) {
  using Kind = ControlOption::Kind;
  AddToolCommand(
      program, context,
      {"keyed",
       "HzCzBcf",
       "Summarise, look up or list distinct condition combinations in memory, combining the "
       "data of matching records by sum, join, first or last",
       "tavrin keyed sales.xlsx --task summarize --mode sum --source-keys A2:B500 "
       "--source-data D2:E2 --target-keys H2",
       &Korvel::HzCzBcf,
       {{"--task",
         "Label10",
         "summarize (the distinct conditions with their data), lookup (data for the target "
         "conditions) or distinct (the distinct conditions only); or 1, 2, 3",
         Kind::Text,
         {{"summarize", "1"}, {"lookup", "2"}, {"distinct", "3"}},
         true},
        {"--mode",
         "Label9",
         "How the data of several matching records combine: sum, join, first or last; or 1 to 4",
         Kind::Text,
         {{"sum", "1"}, {"join", "2"}, {"first", "3"}, {"last", "4"}},
         true},
        {"--source-keys",
         "RefEdit1",
         "The source condition columns, a record a row",
         Kind::Text,
         {},
         true},
        {"--source-data", "RefEdit2",
         "The source data columns (their rows are ignored; summarize and lookup)"},
        {"--target-keys", "RefEdit3",
         "The target conditions (lookup), or the first cell of the result"},
        {"--target-data", "RefEdit4", "The first column of the looked-up data (lookup)"},
        {"--separator", "TextBox1", "The text between joined values (mode join)"},
        {"--headers", "CheckBox1",
         "With mode sum, the source data headers take the first result row", Kind::Flag}}});
  AddToolCommand(
      program, context,
      {"list-to-table",
       "QDZBG",
       "Turn a list into a cross table: distinct row and column labels, the values summed "
       "(--sum) or placed (--place) in the body",
       "tavrin list-to-table sales.xlsx --list A1:C200 --destination F1 --row-field A1 "
       "--column-field B1 --value-field C1 --sum",
       &Korvel::QDZBG,
       {{"--list", "RefEdit1", "The list, field-name row included", Kind::Text, {}, true},
        {"--destination", "RefEdit2", "The table's top-left corner", Kind::Text, {}, true},
        {"--row-field", "RefEdit3", "A cell of the row-label column", Kind::Text, {}, true},
        {"--column-field", "RefEdit4", "A cell of the column-label column", Kind::Text, {}, true},
        {"--value-field", "RefEdit5", "A cell of the value column", Kind::Text, {}, true},
        {"--sum", "OptionButton1", "Add up the values of the records of each cell", Kind::Flag},
        {"--place", "OptionButton2", "Put the last record's value in each cell", Kind::Flag}}});
  AddToolCommand(
      program, context,
      {"table-to-list",
       "BGZQD",
       "Unroll a cross table into a list of label, label and value, row by row (--by-row) or "
       "column by column (--by-column)",
       "tavrin table-to-list sales.xlsx --table F1:I4 --destination K1 --by-row --skip-empty",
       &Korvel::BGZQD,
       {{"--table",
         "RefEdit1",
         "The table, label row and label column included",
         Kind::Text,
         {},
         true},
        {"--destination", "RefEdit2", "The list's first cell", Kind::Text, {}, true},
        {"--by-row", "OptionButton1", "Read row by row: row label, column label, value",
         Kind::Flag},
        {"--by-column", "OptionButton2", "Read column by column: column label, row label, value",
         Kind::Flag},
        {"--skip-empty", "CheckBox1", "Leave out empty body cells", Kind::Flag}}});
}

}  // namespace tavrin
