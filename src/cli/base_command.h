#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// tavrin base NUMBER --from N --to N [--group N]: number-base conversion.
void AddBaseCommand(CLI::App& program, CommandContext& context);

}  // namespace tavrin
