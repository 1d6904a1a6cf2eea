#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_context.h"

namespace tavrin {

// keyed (HzCzBcf), list-to-table (QDZBG), table-to-list (BGZQD).
void AddReshapeCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
