#pragma once

#include <string>

namespace tavrin {

class Book;

// The workbook as an .xlsx package. A workbook read from an .xlsx file keeps every part the
// model does not hold byte for byte, and a sheet nothing changed (whose tab selection and view
// still hold) is written back exactly as read; the calculation chain is dropped, since the
// formulas it lists may have changed. A workbook made otherwise gets a minimal styles part
// whose second cell format shows dates. A workbook without sheets fails (FormatError).
std::string WriteXlsx(Book& book);

}  // namespace tavrin
