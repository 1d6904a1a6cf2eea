#pragma once

#include <gtest/gtest.h>

#include "host/host_error.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {

// A spreadsheet with one workbook "Book1" holding "Sheet1", and short ways to set and read cells.
class SheetTest : public ::testing::Test {
 protected:
  Spreadsheet app;
  Book& book = app.AddWorkbook("Book1");
  Sheet& sheet = book.AddSheet("Sheet1");

  Range At(const char* address) { return sheet.Range(address); }
  void Set(const char* address, const Variant& value) { At(address).SetValue(value); }
  Variant Get(const char* address) { return At(address).Value(); }
  // Fills rows first..last of a column with their row numbers.
  void FillColumn(int column, int first, int last) {
    for (int r = first; r <= last; ++r) sheet.Cells(r, column).SetValue(r);
  }
};

// The number of a HostError thrown by the call, 0 when none.
template <class Call>
int ErrorNumber(Call&& call) {
  try {
    call();
  } catch (const HostError& error) {
    return error.Number();
  }
  return 0;
}

}  // namespace tavrin
