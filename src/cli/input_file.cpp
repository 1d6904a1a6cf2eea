#include "cli/input_file.h"

#include <CLI/CLI.hpp>

#include <filesystem>

#include "cli/command_context.h"
#include "io/text_encoding.h"
#include "io/workbook_file.h"
#include "session/host_session.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

void AddInputFile(CLI::App& command, InputFile& input, const std::string& help) {
  command.add_option("FILE", input.path, help)->required();
  command
      .add_option("--encoding", input.encoding,
                  "The character encoding of a .csv FILE, e.g. UTF-8, UTF-16LE, GB18030 "
                  "(default: UTF-8 or UTF-16 when the file shows it, else GB18030)")
      ->check(CLI::Validator(
          [](const std::string& name) {
            return IsKnownEncoding(name) ? std::string()
                                         : "no character encoding is named '" + name + "'";
          },
          "NAME"));
}

Book& OpenInputFile(Spreadsheet& app, const InputFile& input) {
  return OpenWorkbook(app, input.path, input.encoding);
}

void CheckOutputIsNotInput(const InputFile& input, const std::string& output,
                           const std::string& remedy) {
  std::error_code error;
  if (std::filesystem::equivalent(input.path, output, error)) {
    throw UsageError{"-o: '" + output + "' is the input file itself (" + remedy +
                     "); nothing written"};
  }
}

Book& OpenBesideTheToolbox(Spreadsheet& app, const InputFile& input) {
  std::string name = std::filesystem::path(input.path).filename().string();
  if (EqualsIgnoringCase(name, HostSession::kHostWorkbookName)) {
    throw UsageError{"a workbook named " + name + " cannot be opened beside the toolbox's own " +
                     HostSession::kHostWorkbookName + ": copy or rename it first"};
  }
  return OpenInputFile(app, input);
}

}  // namespace tavrin
