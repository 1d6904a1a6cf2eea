#pragma once

#include <string>
#include <string_view>

namespace tavrin {

class Book;
class Spreadsheet;

// Adds the workbook held in the bytes of an .xlsx package to the application under the name
// given, with everything it keeps for writing it back (see XlsxOrigin); its sheets are marked
// unchanged. A package that is no workbook or is damaged fails (FormatError) before any
// workbook is added.
Book& ReadXlsx(Spreadsheet& application, const std::string& bookName, std::string_view bytes);

}  // namespace tavrin
