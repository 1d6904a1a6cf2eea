#include "cli/summary_commands.h"

#include "cli/tool_command.h"

namespace tavrin {

void AddSummaryCommands(CLI::App& program, CommandContext& context) {
  using Kind = ControlOption::Kind;
  AddToolCommand(
      program, context,
      {"summarize", "HZ",
       "Summarise a list by key columns: the distinct keys with the sums of the value columns",
       "tavrin summarize sales.xlsx --list A1:E121 --keys B1:C1 --values D1:E1 --target H1",
       &Korvel::HZ,
       {{"--list", "RefEdit1", "The list, header row included", Kind::Text, {}, true},
        {"--keys", "RefEdit2", "The key columns (their rows are ignored)", Kind::Text, {}, true},
        {"--values", "RefEdit3", "The value columns to sum", Kind::Text, {}, true},
        {"--target", "RefEdit4", "The first cell of the result", Kind::Text, {}, true}}});
  AddToolCommand(
      program, context,
      {"sum-lookup", "HZCZSZ",
       "Look up sums by one or more key columns into a block beside the target keys",
       "tavrin sum-lookup sales.xlsx --target-keys A2:B10 --output-column F2 "
       "--source-keys H2:I500 --source-data K2:L500",
       &Korvel::HZCZSZ,
       {{"--target-keys", "RefEdit1", "The keys to look up, one key a column", Kind::Text, {},
         true},
        {"--output-column", "RefEdit2", "Where the output begins (its first column)",
         Kind::Text, {}, true},
        {"--source-keys", "RefEdit4", "The key columns of the table searched", Kind::Text, {},
         true},
        {"--source-data", "RefEdit5", "The value columns summed", Kind::Text, {}, true}}});
  AddToolCommand(
      program, context,
      {"lookup", "DSYCZ",
       "Fetch values by an exact index match; a value not found gets the --not-found text",
       "tavrin lookup sales.xlsx --target-index A2:A10 --target-data B2:C2 "
       "--source-table E1:H100 --source-index E1 --source-data G1:H1 --not-found x",
       &Korvel::DSYCZ,
       {{"--target-index", "RefEdit1", "The index values to look up (one column)", Kind::Text,
         {}, true},
        {"--target-data", "RefEdit2", "The columns that receive the values", Kind::Text, {},
         true},
        {"--source-table", "RefEdit3", "The source table", Kind::Text, {}, true},
        {"--source-index", "RefEdit4", "The source's index column (one column)", Kind::Text, {},
         true},
        {"--source-data", "RefEdit5", "The source columns fetched", Kind::Text, {}, true},
        {"--not-found", "TextBox1", "The text for an index value not found (default empty)"}}});
}

}  // namespace tavrin
