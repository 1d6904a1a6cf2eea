#pragma once

#include <string>

#include "host/user_locale.h"
#include "host/variant.h"

namespace tavrin {

// A value written to a cell, read as the host reads a typed entry: a text beginning with "="
// (and longer than it) is a formula; a text that reads as a number is that number; "TRUE" and
// "FALSE" in any case are Booleans; an error value's text is that error value; a leading
// apostrophe keeps the rest as text; "" clears the cell. Other values are kept as given.
struct TypedEntry {
  Variant value;
  bool isFormula = false;  // value is then the formula's text
};

TypedEntry ReadTypedEntry(const Variant& value, const UserLocale& locale);

}  // namespace tavrin
