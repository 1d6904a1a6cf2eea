#pragma once

#include <CLI/CLI.hpp>

#include "cli/command_context.h"

namespace tavrin {

// The commands that run the tools, one a tool, each also under its method's name.
void AddToolCommands(CLI::App& program, CommandContext& context);

}  // namespace tavrin
