#pragma once

#include <vector>

#include "cli/command_context.h"
#include "cli/command_description.h"

namespace tavrin {

// The commands of the tavrin program, each described for the command line (cli/program.cpp);
// what they print goes through the context.

// tavrin show FILE [--sheet NAME] [--range ADDRESS]: a sheet or a range as a table.
// tavrin convert FILE -o PATH: between .xlsx, .xls and .csv.
std::vector<CommandDescription> FileCommands(CommandContext& context);

// The commands that run the tools, one a tool, each also under its method's name, with the
// tool's named options and what every tool command takes: FILE, --sheet, --select,
// -o/--output, --in-place, --yes/--no, --control NAME=VALUE, --token, --preview/--no-preview.
std::vector<CommandDescription> ToolCommands(CommandContext& context);

// tavrin menu: the menu and toolbar as initialisation builds them.
CommandDescription MenuCommand(CommandContext& context);

// tavrin about: the information window.
CommandDescription AboutCommand(CommandContext& context);

// tavrin base NUMBER --from N --to N [--group N]: number-base conversion.
CommandDescription BaseCommand(CommandContext& context);

// tavrin serve FILE [--port N] [--open]: the workbook in a browser.
CommandDescription ServeCommand(CommandContext& context);

}  // namespace tavrin
