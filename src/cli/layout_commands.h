#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// The page layout tools: page-subtotals (FYXJYHJ) and partition (SJFQ).
void AddLayoutCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
