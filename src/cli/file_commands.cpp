#include "cli/file_commands.h"

#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <string>

#include "cli/input_file.h"
#include "cli/sheet_table.h"
#include "cli/terminal_runtime.h"
#include "host/host_error.h"
#include "io/workbook_file.h"
#include "session/used_area.h"
#include "session/workbook_session.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

struct FileOptions {
  InputFile input;
  std::string sheet;
  std::string range;
  std::string output;
};

// Runs a file command: usage problems, file errors and bad names are reported with status 2.
int Guarded(CommandContext& context, const char* name, const std::function<int()>& work) {
  try {
    return work();
  } catch (const UsageError& error) {
    context.messages << "tavrin " << name << ": " << error.message << '\n';
  } catch (const FileError& error) {
    context.messages << "tavrin " << name << ": " << error.what() << '\n';
  } catch (const HostError& error) {
    context.messages << "tavrin " << name << ": " << error.Description() << '\n';
  }
  return 2;
}

// The sheet named by --sheet, or the active one.
Sheet& ChosenSheet(Book& book, const FileOptions& options) {
  if (options.sheet.empty()) return book.GetActiveSheet();
  Sheet* sheet = book.FindSheet(options.sheet);
  if (sheet == nullptr) {
    throw UsageError{"no sheet named '" + options.sheet + "' in " + options.input.path};
  }
  return *sheet;
}

// The sheet is shown beside the toolbox, whose conversion functions (=ToDec(...)) its cells
// may call, as in a run.
int Show(const FileOptions& options, CommandContext& context) {
  TerminalRuntime runtime(context.messages, Answering::No, false);
  WorkbookSession session(
      runtime, [&](Spreadsheet& app) -> Book& { return OpenBesideTheToolbox(app, options.input); });
  Book& book = session.UserBook();
  Sheet& sheet = ChosenSheet(book, options);
  Area area;
  if (!options.range.empty()) {
    try {
      area = sheet.Range(options.range).FirstArea();
    } catch (const HostError&) {
      throw UsageError{"--range: '" + options.range + "' is no address on the sheet"};
    }
  } else if (!UsedArea(sheet, area)) {
    context.out << sheet.Name() << ": empty\n";
    return 0;
  }
  context.out << sheet.Name() << "!" << AreaAddress(area) << '\n';
  PrintTable(sheet, area, context.out);
  return 0;
}

int Convert(const FileOptions& options, CommandContext& context) {
  CheckOutputIsNotInput(options.input, options.output, "convert writes a new file");
  Spreadsheet app;
  Book& book = OpenInputFile(app, options.input);
  if (!options.sheet.empty()) ChosenSheet(book, options).Activate();
  SaveWorkbook(book, options.output);
  context.messages << "Written: " << options.output << '\n';
  return 0;
}

}  // namespace

void AddFileCommands(CLI::App& program, CommandContext& context) {
  auto options = std::make_shared<FileOptions>();

  CLI::App* show = program.add_subcommand("show", "Print a sheet, or a range of it, as a table");
  AddInputFile(*show, options->input, "The workbook (.xlsx, .xls or .csv)");
  show->add_option("--sheet", options->sheet, "The sheet (default: the active one)");
  show->add_option("--range", options->range, "The range, e.g. A1:D20 (default: the used area)");
  show->footer("Example: tavrin show examples/sales.xlsx --range A1:E10");
  show->callback([options, &context] {
    context.run = [options, &context] {
      return Guarded(context, "show", [&] { return Show(*options, context); });
    };
  });

  CLI::App* convert =
      program.add_subcommand("convert", "Convert a workbook between .xlsx, .xls and .csv");
  AddInputFile(*convert, options->input, "The workbook to read (.xlsx, .xls or .csv)");
  convert
      ->add_option("-o,--output", options->output,
                   "The file to write (.xlsx, or .csv for the active sheet)")
      ->required();
  convert->add_option("--sheet", options->sheet, "The sheet a .csv gets (default: the active one)");
  convert->footer("Example: tavrin convert examples/sales.xlsx -o sales.csv");
  convert->callback([options, &context] {
    context.run = [options, &context] {
      return Guarded(context, "convert", [&] { return Convert(*options, context); });
    };
  });
}

}  // namespace tavrin
