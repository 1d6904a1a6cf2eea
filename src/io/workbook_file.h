#pragma once

#include <filesystem>
#include <string_view>

#include "io/file_error.h"

namespace tavrin {

class Book;
class Spreadsheet;

// Reads a workbook file by its extension (.xlsx, .xlsm, .xls, .csv; letter case ignored) into a
// new workbook of the application named as the file ("sales.xlsx"), which becomes the active
// one. A .csv file is read in the character encoding named, or in the one its bytes show
// (DecodeText). A missing file, an unknown extension, a file that is no workbook, a damaged
// archive, an encrypted workbook, a sheet name the host does not allow or a name already open
// fails (FileError) and adds nothing.
Book& OpenWorkbook(Spreadsheet& application, const std::filesystem::path& path,
                   std::string_view encoding = {});

// Writes the workbook as .xlsx (all of it) or .csv (its active sheet), by the extension.
// Writing is atomic (see WriteFileAtomically); an unknown extension or a failure fails
// (FileError) with the target as it was.
void SaveWorkbook(Book& book, const std::filesystem::path& path);

}  // namespace tavrin
