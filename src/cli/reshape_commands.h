#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// keyed (HzCzBcf), list-to-table (QDZBG), table-to-list (BGZQD).
void AddReshapeCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
