#include "cli/file_commands.h"

#include <memory>
#include <ostream>
#include <string>

#include "cli/sheet_table.h"
#include "host/host_error.h"
#include "io/workbook_file.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

struct FileOptions {
  std::string file;
  std::string sheet;
  std::string range;
  std::string output;
};

// Runs a file command: file errors and bad names are reported with status 2.
int Guarded(CommandContext& context, const char* name, const std::function<int()>& work) {
  try {
    return work();
  } catch (const FileError& error) {
    context.messages << "tavrin " << name << ": " << error.what() << '\n';
  } catch (const HostError& error) {
    context.messages << "tavrin " << name << ": " << error.Description() << '\n';
  }
  return 2;
}

int Show(const FileOptions& options, CommandContext& context) {
  Spreadsheet app;
  Book& book = OpenWorkbook(app, options.file);
  Sheet& sheet = options.sheet.empty() ? book.GetActiveSheet() : book.GetSheet(options.sheet);
  Area area;
  if (!options.range.empty()) {
    area = sheet.Range(options.range).FirstArea();
  } else if (!UsedArea(sheet, area)) {
    context.out << sheet.Name() << ": empty\n";
    return 0;
  }
  context.out << sheet.Name() << "!" << AreaAddress(area) << '\n';
  PrintTable(sheet, area, context.out);
  return 0;
}

int Convert(const FileOptions& options, CommandContext& context) {
  Spreadsheet app;
  Book& book = OpenWorkbook(app, options.file);
  if (!options.sheet.empty()) book.GetSheet(options.sheet).Activate();
  SaveWorkbook(book, options.output);
  context.messages << "Written: " << options.output << '\n';
  return 0;
}

}  // namespace

void AddFileCommands(CLI::App& program, CommandContext& context) {
  auto options = std::make_shared<FileOptions>();

  CLI::App* show = program.add_subcommand("show", "Print a sheet, or a range of it, as a table");
  show->add_option("FILE", options->file, "The workbook (.xlsx, .xls or .csv)")->required();
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
  convert->add_option("FILE", options->file, "The workbook to read (.xlsx, .xls or .csv)")
      ->required();
  convert->add_option("-o,--output", options->output,
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
