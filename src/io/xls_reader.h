#pragma once

#include <filesystem>
#include <string>

namespace tavrin {

class Book;
class Spreadsheet;

// Adds the workbook of an .xls file (the host's binary format) to the application under the
// name given, as values: numbers, texts, dates and times as dates, formulas as their results;
// one sheet a worksheet. A file that is no such workbook, or an encrypted one, fails
// (FormatError) before any workbook is added.
Book& ReadXls(Spreadsheet& application, const std::string& bookName,
              const std::filesystem::path& path);

}  // namespace tavrin
