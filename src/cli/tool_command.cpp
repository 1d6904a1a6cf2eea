#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

#include "cli/changes.h"
#include "cli/commands.h"
#include "cli/input_file.h"
#include "cli/terminal_runtime.h"
#include "host/host_error.h"
#include "io/workbook_file.h"
#include "session/dialog_form.h"
#include "session/workbook_session.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

struct RunOptions {
  InputFile input;
  std::string sheet;
  std::string select = "A1";
  std::string output;
  bool inPlace = false;
  bool yes = false;
  bool no = false;
  std::vector<std::string> controls;
  std::optional<std::string> token;
  std::optional<bool> preview;
  std::optional<std::string> range;
  std::map<std::string, std::string> named;
};

Variant ControlValue(const DialogForm& form, const std::string& control, const std::string& text) {
  if (!form.TakesSwitch(control)) return Variant(text);
  std::string lower;
  for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "true" || lower == "1" || lower == "yes") return Variant::Boolean(true);
  if (lower == "false" || lower == "0" || lower == "no" || lower.empty()) {
    return Variant::Boolean(false);
  }
  throw UsageError{"--control " + control + " takes true or false, not '" + text + "'"};
}

// The control value of a word (or of the value itself, "1") of an option that takes one of a few
// words; any other word is a usage error naming them.
std::string ChosenValue(const ToolControl& control, const std::string& word) {
  std::string words;
  for (const ControlChoice& choice : control.choices) {
    if (choice.word == word || choice.value == word) return choice.value;
    words += (words.empty() ? "" : ", ") + choice.word;
  }
  throw UsageError{control.flags + " takes one of " + words + ", not '" + word + "'"};
}

void FillForm(DialogForm& form, const ToolDefinition& tool, const RunOptions& options) {
  for (const ToolControl& control : tool.controls) {
    auto given = options.named.find(control.flags);
    if (given == options.named.end()) continue;
    if (control.IsSwitch()) {
      form.Set(control.name, Variant::Boolean(true));
    } else if (control.kind == ControlKind::Choice) {
      form.Set(control.name, Variant(ChosenValue(control, given->second)));
    } else {
      form.Set(control.name, Variant(given->second));
    }
  }
  for (const std::string& assignment : options.controls) {
    size_t equals = assignment.find('=');
    std::string name = assignment.substr(0, equals);
    if (equals == std::string::npos || !form.Has(name)) {
      throw UsageError{
          "--control takes NAME=VALUE with a control of the dialog "
          "(RefEdit1-5, TextBox1-5, CheckBox1, OptionButton1-2, Label9, Label10): '" +
          assignment + "'"};
    }
    form.Set(name, ControlValue(form, name, assignment.substr(equals + 1)));
  }
}

// Opens the file, makes the chosen sheet active and selects the chosen cells.
Book& OpenUsersWorkbook(Spreadsheet& app, const RunOptions& options) {
  Book& book = OpenBesideTheToolbox(app, options.input);
  if (!options.sheet.empty()) {
    Sheet* sheet = book.FindSheet(options.sheet);
    if (sheet == nullptr)
      throw UsageError{"no sheet named '" + options.sheet + "' in " + options.input.path};
    sheet->Activate();
  }
  try {
    book.ActiveSheet().Range(options.select).Select();
  } catch (const HostError&) {
    throw UsageError{"--select: '" + options.select + "' is no address on the active sheet"};
  }
  return book;
}

std::optional<std::string> AskAtTerminal(std::ostream& messages, bool interactive,
                                         const std::string& prompt, const std::string& title) {
  messages << '[' << title << "]\n" << prompt << '\n';
  if (!interactive) {
    messages << "-> cancelled (no terminal)\n\n";
    return std::nullopt;
  }
  messages << "Address (empty to cancel): " << std::flush;
  std::string line;
  if (!std::getline(std::cin, line) || line.empty()) return std::nullopt;
  return line;
}

int RunTool(const ToolDefinition& tool, const RunOptions& options, CommandContext& context) {
  bool trial = options.output.empty() && !options.inPlace;
  bool preview = options.preview.value_or(context.outputToTerminal || trial);
  Answering answering = options.yes  ? Answering::Yes
                        : options.no ? Answering::No
                                     : Answering::AtTerminal;
  if (!options.output.empty()) {
    CheckOutputIsNotInput(options.input, options.output, "write over it with --in-place");
  }

  TerminalRuntime runtime(context.messages, answering, context.interactive);
  WorkbookSession session(
      runtime, [&](Spreadsheet& app) -> Book& { return OpenUsersWorkbook(app, options); });
  Book& book = session.UserBook();
  session.App().SetInputAnswerer([&](const std::string& prompt, const std::string& title) {
    if (options.range) {
      context.messages << '[' << title << "]\n" << prompt << "\n-> " << *options.range << "\n\n";
      return options.range;
    }
    return AskAtTerminal(context.messages, context.interactive, prompt, title);
  });

  DialogForm form;
  FillForm(form, tool, options);
  std::optional<WorkbookSnapshot> before;
  if (preview) before.emplace(book);

  std::string token = options.token.value_or(session.Host().Token());
  bool failed = false;
  try {
    (session.Host().Component().*tool.run)(token, form);
  } catch (const HostError& error) {
    context.messages << "[error reached the caller]\n"
                     << error.Number() << ' ' << error.Description() << "\n\n";
    failed = true;
  }
  if (before) before->PrintChanges(book, context.out);
  if (failed || runtime.FailureReportShown()) {
    context.messages << "The run failed: nothing written.\n";
    return 1;
  }
  if (!session.Host().Component().RunFinished()) {
    context.messages << "The run stopped before finishing: nothing written.\n";
    return 1;
  }
  if (trial) {
    context.messages << "Trial run: nothing written (use -o PATH or --in-place).\n";
    return 0;
  }
  std::string target = options.inPlace ? options.input.path : options.output;
  SaveWorkbook(book, target);
  context.messages << "Written: " << target << '\n';
  return 0;
}

// The tool's own options, each setting its control of the dialog: a switch, or a value.
void AddNamedOptions(std::vector<CommandOption>& added, const ToolDefinition& tool,
                     const std::shared_ptr<RunOptions>& options) {
  for (const ToolControl& control : tool.controls) {
    std::string help = control.help + " [" + control.name + "]";
    if (control.IsSwitch()) {
      added.push_back({.names = control.flags,
                       .target = std::function<void()>(
                           [options, flags = control.flags] { options->named[flags] = "True"; }),
                       .help = help});
      continue;
    }
    added.push_back({.names = control.flags,
                     .target = std::function<void(const std::string&)>(
                         [options, flags = control.flags](const std::string& value) {
                           options->named[flags] = value;
                         }),
                     .help = help,
                     .required = control.required});
  }
}

// What every tool command takes after the tool's own options.
void AddRunOptions(std::vector<CommandOption>& added, const ToolDefinition& tool,
                   const std::shared_ptr<RunOptions>& options) {
  if (tool.asksForRange) {
    added.push_back({.names = "--range",
                     .target = &options->range,
                     .help = "The answer to the selection prompt (asked at the terminal without "
                             "it; with no terminal the prompt counts as cancelled)"});
  }
  std::vector<CommandOption> run = {
      {.names = "--sheet",
       .target = &options->sheet,
       .help = "Sheet to make active (default: the active one)"},
      {.names = "--select",
       .target = &options->select,
       .help = "Selection before the run (default A1)"},
      {.names = "-o,--output",
       .target = &options->output,
       .help = "Write the resulting workbook there (.xlsx, or .csv for the active sheet)"},
      {.names = "--in-place",
       .target = &options->inPlace,
       .help = "Write the result back over FILE",
       .excludes = "--output"},
      {.names = "--yes", .target = &options->yes, .help = "Answer Yes (or OK) to every question"},
      {.names = "--no",
       .target = &options->no,
       .help = "Answer No (or Cancel) to every question",
       .excludes = "--yes"},
      {.names = "--control",
       .target = &options->controls,
       .help = "Set a control of the dialog directly, NAME=VALUE (repeatable)"},
      {.names = "--token",
       .target = &options->token,
       .help = "Call the tool with this token instead of the one in \"bf\"!A1"},
      {.names = "--preview",
       .target = std::function<void()>([options] { options->preview = true; }),
       .help = "Print the cells the run changed (default when output is a terminal, and on a "
               "trial run)"},
      {.names = "--no-preview",
       .target = std::function<void()>([options] { options->preview = false; }),
       .help = "Do not print the changed cells"},
  };
  added.insert(added.end(), run.begin(), run.end());
}

// Runs the tool: usage problems and file errors are reported with status 2.
int GuardedRun(const ToolDefinition& tool, const RunOptions& options, CommandContext& context) {
  try {
    return RunTool(tool, options, context);
  } catch (const UsageError& error) {
    context.messages << "tavrin " << tool.name << ": " << error.message << '\n';
  } catch (const FileError& error) {
    context.messages << "tavrin " << tool.name << ": " << error.what() << '\n';
  }
  return 2;
}

CommandDescription ToolCommand(CommandContext& context, const ToolDefinition& tool) {
  auto options = std::make_shared<RunOptions>();
  CommandDescription command{
      .name = tool.name,
      .alias = tool.method,
      .description = tool.description,
      .options = InputFileOptions(options->input, "The workbook (.xlsx, .xls or .csv)"),
      .footer = "Example: " + tool.example +
                "\nWithout -o or --in-place the run is a trial: nothing is written and the "
                "changes are shown.\nExit status: 0 the run finished, 1 it stopped before "
                "finishing (a check, a No or Cancel) or failed (nothing written), 2 usage or file "
                "error.",
      .run = [options, &tool, &context] { return GuardedRun(tool, *options, context); }};
  AddNamedOptions(command.options, tool, options);
  AddRunOptions(command.options, tool, options);
  return command;
}

}  // namespace

std::vector<CommandDescription> ToolCommands(CommandContext& context) {
  std::vector<CommandDescription> commands;
  for (const ToolDefinition& tool : ToolTable()) commands.push_back(ToolCommand(context, tool));
  return commands;
}

}  // namespace tavrin
