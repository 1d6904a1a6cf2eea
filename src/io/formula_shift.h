#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// A formula text in A1 form (without its "=") with its relative references moved by rows and
// columns, as a formula shared by a range of cells reads in each cell of the range: cells
// ("B2", "$B2"), ranges of them, whole columns ("A:C") and whole rows ("2:5"). Absolute parts
// stay; texts in quotes, quoted sheet names and function names are left alone. A reference
// moved off the sheet becomes #REF!.
std::string ShiftFormula(std::string_view formula, int rows, int columns);

}  // namespace tavrin
