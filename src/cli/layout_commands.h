#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_context.h"

namespace tavrin {

// The page layout tools: page-subtotals (FYXJYHJ) and partition (SJFQ).
void AddLayoutCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
