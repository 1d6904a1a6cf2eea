#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_context.h"

namespace tavrin {

// tavrin base NUMBER --from N --to N [--group N]: number-base conversion.
void AddBaseCommand(CLI::App& program, CommandContext& context);

}  // namespace tavrin
