#pragma once

#include <string>

namespace tavrin {

// The functions the host added after 2007 stand in a file with a prefix ("_xlfn.IFNA(A1,0)",
// "_xlfn._xlws.FILTER(A1:A9,B1:B9)"), and without it in the host's formula bar and in the model.
// Both take a formula text ("=..." or an array formula's "{=...}") in its cell (row, column); a
// text the engine cannot read, or one calling none of those functions, is returned as it is.

// A formula text from a file as the model holds it: the prefix dropped from each call of a
// function the table knows; a prefixed name it does not know keeps its prefix.
std::string FormulaFromFile(const std::string& text, int row, int column);

// A formula text as a file holds it: the prefix put before each call of those functions.
std::string FormulaForFile(const std::string& text, int row, int column);

}  // namespace tavrin
