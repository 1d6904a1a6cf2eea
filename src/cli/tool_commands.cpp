#include "cli/tool_commands.h"

#include "cli/layout_commands.h"
#include "cli/reshape_commands.h"
#include "cli/summary_commands.h"
#include "cli/tool_command.h"

namespace tavrin {

void AddToolCommands(CLI::App& program, CommandContext& context) {
  AddSummaryCommands(program, context);
  AddReshapeCommands(program, context);
  AddLayoutCommands(program, context);
  AddToolCommand(program, context,
                 {"clear-zeros", "SC0",
                  "Clear the cells of a range that hold the constant 0 (formulas stay)",
                  "tavrin clear-zeros book.xlsx --range B2:D20 -o cleared.xlsx",
                  &Korvel::SC0, {}, true});
  AddToolCommand(program, context,
                 {"clear-zero-values", "SCGS0",
                  "Clear every cell of a range whose value is 0, formulas included, after a "
                  "warning (--yes answers it)",
                  "tavrin clear-zero-values book.xlsx --range B2:D20 --yes -o cleared.xlsx",
                  &Korvel::SCGS0, {}, true});
}

}  // namespace tavrin
