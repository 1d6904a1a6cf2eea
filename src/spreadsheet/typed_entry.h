#pragma once

#include <string>

#include "host/typed_entry.h"
#include "host/user_locale.h"
#include "host/variant.h"
#include "spreadsheet/cell_store.h"

namespace tavrin {

// What a write puts into a cell: a constant, or a formula (its value left to the formula engine).
struct Entry {
  Variant value;
  FormulaPtr formula;
};

// A value written to a cell, read as a typed entry (ReadTypedEntry), its formula left unparsed.
Entry ReadEntry(const Variant& value, const UserLocale& locale);

// A cell's Formula: the formula's text, or the constant as it would be typed (a number without
// thousands separators, "TRUE"/"FALSE", a date's text, an error value's text), "" when empty.
std::string EntryText(const Cell& cell, int row, int column, const UserLocale& locale);

// A value as the general format displays it.
std::string DisplayText(const Variant& value, const UserLocale& locale);

}  // namespace tavrin
