#pragma once

#include <string>
#include <string_view>

namespace tavrin {

class Book;
class Sheet;
class Spreadsheet;

// Adds a workbook of one sheet read from comma-separated values in UTF-8 (see DecodeText for
// the file's bytes): fields in double quotes may hold commas, line breaks and doubled quotes; a
// field that reads as a number ("." as the decimal point) is that number, TRUE and FALSE (any case)
// are Booleans, anything else is text. More rows or columns than a sheet holds fail
// (FormatError) before any workbook is added.
Book& ReadCsv(Spreadsheet& application, const std::string& bookName, const std::string& sheetName,
              std::string_view text);

// The sheet from A1 to its last row and column holding a value, as comma-separated values (the
// rows and columns before the first value empty): each value as the sheet displays it,
// quoted when it holds a comma, a quote or a line break; UTF-8 with a byte-order mark, lines
// ending in CR LF.
std::string WriteCsv(Sheet& sheet);

}  // namespace tavrin
