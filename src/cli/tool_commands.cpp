#include "cli/tool_commands.h"

#include "cli/tool_command.h"

namespace tavrin {

void AddToolCommands(CLI::App& program, CommandContext& context) {
  for (const ToolDefinition& tool : ToolTable()) AddToolCommand(program, context, tool);
}

}  // namespace tavrin
