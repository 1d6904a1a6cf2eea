#pragma once

#include "cli/command_context.h"
#include "tools/tool_table.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// Adds the command of a tool with its named options and the options every tool command takes:
// FILE, --sheet, --select, -o/--output, --in-place, --yes/--no, --control NAME=VALUE, --token,
// --preview/--no-preview.
void AddToolCommand(CLI::App& program, CommandContext& context, const ToolDefinition& tool);

}  // namespace tavrin
