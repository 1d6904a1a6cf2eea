#pragma once

#include <string>
#include <vector>

#include "cli/command_description.h"

namespace tavrin {

class Book;
class Spreadsheet;

// The workbook a command reads: FILE, and the character encoding of a .csv file ("" lets the
// file tell).
struct InputFile {
  std::string path;
  std::string encoding;
};

// FILE (required) and --encoding NAME; an encoding no one knows is a usage error.
std::vector<CommandOption> InputFileOptions(InputFile& input, const std::string& help);

// Opens the file as the active workbook (OpenWorkbook).
Book& OpenInputFile(Spreadsheet& app, const InputFile& input);

// OpenInputFile for a run beside the toolbox's own workbook "Tavrin.xls": a user's file of that
// name fails (UsageError), as the host opens one workbook of a name.
Book& OpenBesideTheToolbox(Spreadsheet& app, const InputFile& input);

// Fails (UsageError) when the output names the input file itself, by whatever path: the same
// text, a path through other folders, a symbolic or a hard link to it. The remedy completes the
// message.
void CheckOutputIsNotInput(const InputFile& input, const std::string& output,
                           const std::string& remedy);

}  // namespace tavrin
