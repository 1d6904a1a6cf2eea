#pragma once

#include "cli/command_context.h"

namespace CLI {
class App;
}  // namespace CLI

namespace tavrin {

// tavrin show FILE [--sheet NAME] [--range ADDRESS]: a sheet or a range as a table.
// tavrin convert FILE -o PATH: between .xlsx, .xls and .csv.
void AddFileCommands(CLI::App& program, CommandContext& context);

// tavrin menu: the menu and toolbar as initialisation builds them.
void AddMenuCommand(CLI::App& program, CommandContext& context);

// tavrin about: the information window.
void AddAboutCommand(CLI::App& program, CommandContext& context);

}  // namespace tavrin
