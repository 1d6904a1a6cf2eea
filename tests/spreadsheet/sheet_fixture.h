#pragma once

#include <gtest/gtest.h>

#include <ostream>

#include "host/host_error.h"
#include "host/variant_rules.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"
#include "support/error_number.h"

namespace tavrin {

// A value as a failed expectation shows it.
inline void PrintTo(const Variant& value, std::ostream* out) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      *out << "(empty)";
      return;
    case Variant::Kind::Text:
      *out << '"' << value.AsText() << '"';
      return;
    case Variant::Kind::Error:
      *out << ErrorText(value.AsError());
      return;
    case Variant::Kind::Boolean:
      *out << (value.AsBoolean() ? "TRUE" : "FALSE");
      return;
    default:
      *out << (value.IsDate() ? "date " : "") << NumberText(value.AsNumber(), UserLocale{});
  }
}

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

}  // namespace tavrin
