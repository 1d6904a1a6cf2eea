#pragma once

#include <string>
#include <vector>

#include "cli/command_context.h"
#include "cli/command_description.h"

namespace tavrin {

// The tavrin program: parses the command line, runs the command, returns the exit status
// (0 the run finished, 1 it stopped before finishing or failed, 2 usage or file error).
int RunProgram(int argc, char** argv);

// The same over the given commands and arguments (the program's name left out): the one place
// that builds a command line. Help and parse errors go to the standard output and error.
int RunCommands(const std::vector<CommandDescription>& commands,
                const std::vector<std::string>& arguments, CommandContext& context);

}  // namespace tavrin
