#include "cli/program.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/base_command.h"
#include "cli/command_context.h"
#include "cli/file_commands.h"
#include "cli/serve_command.h"
#include "cli/tool_commands.h"
#include "host/host_error.h"

namespace tavrin {

namespace {

// The arguments as the parser takes them, last first. "--name=" with nothing after the "=" is
// the option with an empty value, as a user means it; the parser would take the next argument.
std::vector<std::string> Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = argc - 1; i > 0; --i) {
    std::string argument = argv[i];
    if (argument.size() > 3 && argument.starts_with("--") && argument.ends_with('=') &&
        argument.find('=') == argument.size() - 1) {
      arguments.emplace_back();
      argument.pop_back();
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

}  // namespace

int RunProgram(int argc, char** argv) {
  CLI::App program{"Tavrin: worksheet tools for lists, run on your workbook.", "tavrin"};
  program.require_subcommand(1);
  program.footer("Run 'tavrin COMMAND --help' for the options of a command.");

  CommandContext context{
      std::cout, std::cerr, isatty(STDIN_FILENO) != 0, isatty(STDOUT_FILENO) != 0, {}};

  AddFileCommands(program, context);
  AddToolCommands(program, context);
  AddMenuCommand(program, context);
  AddAboutCommand(program, context);
  AddBaseCommand(program, context);
  AddServeCommand(program, context);

  try {
    std::vector<std::string> arguments = Arguments(argc, argv);
    program.parse(arguments);
  } catch (const CLI::ParseError& error) {
    int status = program.exit(error);
    return status == 0 ? 0 : 2;
  }
  try {
    return context.run ? context.run() : 0;
  } catch (const HostError& error) {
    std::cerr << "tavrin: " << error.Number() << ' ' << error.Description() << '\n';
    return 1;
  } catch (const std::bad_alloc&) {
    std::cerr << "tavrin: out of memory: the workbook needs more memory than this machine gives "
                 "Tavrin; nothing was written\n";
    return 2;
  }
}

}  // namespace tavrin
