#include "cli/program.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <iostream>
#include <new>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "host/host_error.h"

namespace tavrin {

namespace {

// The arguments as the parser takes them, last first. "--name=" with nothing after the "=" is
// the option with an empty value, as a user means it; the parser would take the next argument.
std::vector<std::string> ParserArguments(const std::vector<std::string>& given) {
  std::vector<std::string> arguments;
  for (std::string argument : given) {
    bool emptyValue = argument.size() > 3 && argument.starts_with("--") &&
                      argument.ends_with('=') && argument.find('=') == argument.size() - 1;
    if (emptyValue) argument.pop_back();
    arguments.push_back(std::move(argument));
    if (emptyValue) arguments.emplace_back();
  }
  std::reverse(arguments.begin(), arguments.end());
  return arguments;
}

template <class... Ways>
struct Overloaded : Ways... {
  using Ways::operator()...;
};
// Spelled out for compilers without aggregate deduction (clang before 17).
template <class... Ways>
Overloaded(Ways...) -> Overloaded<Ways...>;

// The parser's option for a described one, filling its target.
CLI::Option* AddedOption(CLI::App& command, const CommandOption& option) {
  const std::string& names = option.names;
  const std::string& help = option.help;
  return std::visit(Overloaded{
                        [&](const std::function<void()>& take) {
                          return command.add_flag_callback(names, take, help);
                        },
                        [&](const std::function<void(const std::string&)>& take) {
                          return command.add_option_function<std::string>(names, take, help);
                        },
                        [&](bool* on) { return command.add_flag(names, *on, help); },
                        [&](auto* value) { return command.add_option(names, *value, help); },
                    },
                    option.target);
}

void AddCommand(CLI::App& program, const CommandDescription& description,
                std::function<int()>& chosen) {
  CLI::App* command = program.add_subcommand(description.name, description.description);
  if (!description.alias.empty()) command->alias(description.alias);
  for (const CommandOption& option : description.options) {
    CLI::Option* added = AddedOption(*command, option);
    if (option.required) added->required();
    if (option.within) added->check(CLI::Range(option.within->first, option.within->second));
    if (option.check) {
      added->check(CLI::Validator([check = option.check](std::string& text) { return check(text); },
                                  option.checkName));
    }
    if (!option.excludes.empty()) added->excludes(command->get_option(option.excludes));
  }
  if (!description.footer.empty()) command->footer(description.footer);
  command->callback([&chosen, run = description.run] { chosen = run; });
}

// Every command of the program, in the order its help lists them.
std::vector<CommandDescription> ProgramCommands(CommandContext& context) {
  std::vector<CommandDescription> commands = FileCommands(context);
  for (CommandDescription& tool : ToolCommands(context)) commands.push_back(std::move(tool));
  commands.push_back(MenuCommand(context));
  commands.push_back(AboutCommand(context));
  commands.push_back(BaseCommand(context));
  commands.push_back(ServeCommand(context));
  return commands;
}

}  // namespace

int RunCommands(const std::vector<CommandDescription>& commands,
                const std::vector<std::string>& arguments, CommandContext& context) {
  CLI::App program{"Tavrin: worksheet tools for lists, run on your workbook.", "tavrin"};
  program.require_subcommand(1);
  program.footer("Run 'tavrin COMMAND --help' for the options of a command.");
  std::function<int()> chosen;
  for (const CommandDescription& command : commands) AddCommand(program, command, chosen);

  try {
    std::vector<std::string> parsed = ParserArguments(arguments);
    program.parse(parsed);
  } catch (const CLI::ParseError& error) {
    int status = program.exit(error);
    return status == 0 ? 0 : 2;
  }
  try {
    return chosen ? chosen() : 0;
  } catch (const HostError& error) {
    context.messages << "tavrin: " << error.Number() << ' ' << error.Description() << '\n';
    return 1;
  } catch (const std::bad_alloc&) {
    context.messages << "tavrin: out of memory: the workbook needs more memory than this machine "
                        "gives Tavrin; nothing was written\n";
    return 2;
  }
}

int RunProgram(int argc, char** argv) {
  CommandContext context{std::cout, std::cerr, isatty(STDIN_FILENO) != 0,
                         isatty(STDOUT_FILENO) != 0};
  return RunCommands(ProgramCommands(context), std::vector<std::string>(argv + 1, argv + argc),
                     context);
}

}  // namespace tavrin
