#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_context.h"

namespace tavrin {

// summarize (HZ), sum-lookup (HZCZSZ), lookup (DSYCZ).
void AddSummaryCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
