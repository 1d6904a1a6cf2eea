#include "cli/tool_command.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <optional>

#include "cli/changes.h"
#include "cli/input_file.h"
#include "cli/terminal_runtime.h"
#include "host/host_error.h"
#include "io/workbook_file.h"
#include "session/dialog_form.h"
#include "session/workbook_session.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

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

}  // namespace

void AddToolCommand(CLI::App& program, CommandContext& context, const ToolDefinition& tool) {
  auto options = std::make_shared<RunOptions>();
  CLI::App* command = program.add_subcommand(tool.name, tool.description);
  command->alias(tool.method);
  AddInputFile(*command, options->input, "The workbook (.xlsx, .xls or .csv)");
  for (const ToolControl& control : tool.controls) {
    std::string help = control.help + " [" + control.name + "]";
    if (control.IsSwitch()) {
      command->add_flag_callback(
          control.flags, [options, flags = control.flags] { options->named[flags] = "True"; },
          help);
      continue;
    }
    CLI::Option* added = command->add_option_function<std::string>(
        control.flags,
        [options, flags = control.flags](const std::string& value) {
          options->named[flags] = value;
        },
        help);
    if (control.required) added->required();
  }
  if (tool.asksForRange) {
    command->add_option("--range", options->range,
                        "The answer to the selection prompt (asked at the terminal without it; "
                        "with no terminal the prompt counts as cancelled)");
  }
  command->add_option("--sheet", options->sheet, "Sheet to make active (default: the active one)");
  command->add_option("--select", options->select, "Selection before the run (default A1)");
  auto* output = command->add_option("-o,--output", options->output,
                                     "Write the resulting workbook there (.xlsx, or .csv for the "
                                     "active sheet)");
  command->add_flag("--in-place", options->inPlace, "Write the result back over FILE")
      ->excludes(output);
  auto* yes = command->add_flag("--yes", options->yes, "Answer Yes (or OK) to every question");
  command->add_flag("--no", options->no, "Answer No (or Cancel) to every question")->excludes(yes);
  command->add_option("--control", options->controls,
                      "Set a control of the dialog directly, NAME=VALUE (repeatable)");
  command->add_option("--token", options->token,
                      "Call the tool with this token instead of the one in \"bf\"!A1");
  command->add_flag_callback(
      "--preview", [options] { options->preview = true; },
      "Print the cells the run changed (default when output is a terminal, "
      "and on a trial run)");
  command->add_flag_callback(
      "--no-preview", [options] { options->preview = false; }, "Do not print the changed cells");
  command->footer(
      "Example: " + tool.example +
      "\nWithout -o or --in-place the run is a trial: nothing is written and the "
      "changes are shown.\nExit status: 0 the run finished, 1 it stopped before finishing "
      "(a check, a No or Cancel) or failed (nothing written), 2 usage or file error.");
  command->callback([options, &tool, &context] {
    context.run = [options, &tool, &context] {
      try {
        return RunTool(tool, *options, context);
      } catch (const UsageError& error) {
        context.messages << "tavrin " << tool.name << ": " << error.message << '\n';
        return 2;
      } catch (const FileError& error) {
        context.messages << "tavrin " << tool.name << ": " << error.what() << '\n';
        return 2;
      }
    };
  });
}

}  // namespace tavrin
