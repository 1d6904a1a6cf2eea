#include <memory>
#include <ostream>
#include <string>

#include "cli/commands.h"
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

std::vector<CommandDescription> FileCommands(CommandContext& context) {
  auto shown = std::make_shared<FileOptions>();
  CommandDescription show{
      .name = "show",
      .description = "Print a sheet, or a range of it, as a table",
      .options = InputFileOptions(shown->input, "The workbook (.xlsx, .xls or .csv)"),
      .footer = "Example: tavrin show examples/sales.xlsx --range A1:E10",
      .run = [shown, &context] {
        return Guarded(context, "show", [&] { return Show(*shown, context); });
      }};
  show.options.push_back(
      {.names = "--sheet", .target = &shown->sheet, .help = "The sheet (default: the active one)"});
  show.options.push_back({.names = "--range",
                          .target = &shown->range,
                          .help = "The range, e.g. A1:D20 (default: the used area)"});

  auto converted = std::make_shared<FileOptions>();
  CommandDescription convert{
      .name = "convert",
      .description = "Convert a workbook between .xlsx, .xls and .csv",
      .options = InputFileOptions(converted->input, "The workbook to read (.xlsx, .xls or .csv)"),
      .footer = "Example: tavrin convert examples/sales.xlsx -o sales.csv",
      .run = [converted, &context] {
        return Guarded(context, "convert", [&] { return Convert(*converted, context); });
      }};
  convert.options.push_back({.names = "-o,--output",
                             .target = &converted->output,
                             .help = "The file to write (.xlsx, or .csv for the active sheet)",
                             .required = true});
  convert.options.push_back({.names = "--sheet",
                             .target = &converted->sheet,
                             .help = "The sheet a .csv gets (default: the active one)"});
  return {show, convert};
}

}  // namespace tavrin
