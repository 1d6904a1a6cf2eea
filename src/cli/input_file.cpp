#include "cli/input_file.h"

#include <filesystem>

#include "cli/command_context.h"
#include "io/text_encoding.h"
#include "io/workbook_file.h"
#include "session/host_session.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

std::vector<CommandOption> InputFileOptions(InputFile& input, const std::string& help) {
  return {
      {.names = "FILE", .target = &input.path, .help = help, .required = true},
      {.names = "--encoding",
       .target = &input.encoding,
       .help = "The character encoding of a .csv FILE, e.g. UTF-8, UTF-16LE, GB18030 "
               "(default: UTF-8 or UTF-16 when the file shows it, else GB18030)",
       .checkName = "NAME",
       .check =
           [](const std::string& name) {
             return IsKnownEncoding(name) ? std::string()
                                          : "no character encoding is named '" + name + "'";
           }},
  };
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
