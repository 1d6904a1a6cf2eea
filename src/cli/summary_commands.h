#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// summarize (HZ), sum-lookup (HZCZSZ), lookup (DSYCZ).
void AddSummaryCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
