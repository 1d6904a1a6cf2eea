#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// The commands that run the tools, one a tool, each also under its method's name.
void AddToolCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
