#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "host/address.h"

namespace tavrin {

// The one reader of the parts of a cell reference as texts write them: column letters, row
// numbers and R1C1 coordinates. Addresses, formulas and workbook files all read references
// through it, each with the sheet size it needs and its own rule for what may follow.

// The largest sheet a workbook file can describe, which references in files may point into.
constexpr int kFileLastRow = 1048576;
constexpr int kFileLastColumn = 16384;  // XFD

// One corner of an A1 reference: a cell ("B12", "$B$12", "B$12"), a column alone ("B", "$B")
// or a row alone ("12", "$12"). A part not written is 0.
struct A1Corner {
  int row = 0;
  int column = 0;
  bool rowAbsolute = false;
  bool columnAbsolute = false;

  bool IsCell() const { return row > 0 && column > 0; }
  // Whether both are a cell, both a column alone or both a row alone, as a range's ends are.
  bool SameKind(const A1Corner& other) const {
    return (row > 0) == (other.row > 0) && (column > 0) == (other.column > 0);
  }
};

// Reads an A1 corner from the front of the text, letters in either case, on a sheet of
// lastRow rows and lastColumn columns. Returns the count of characters read; 0 when the text
// starts with none: no letters and no digits, letters past the last column, a row 0 or past the
// last row, or a "$" that nothing follows. Runs of letters and digits are read whole, however
// long, so what follows the corner is never a letter or a digit.
size_t ReadA1Corner(std::string_view text, A1Corner& corner, int lastRow = kLastRow,
                    int lastColumn = kLastColumn);

// One coordinate of an R1C1 reference: an absolute index ("R2"), or an offset from the
// formula's own row or column ("R[-1]", and "R" alone for offset 0).
struct R1C1Coordinate {
  int value = 0;
  bool absolute = false;
};

// Reads a coordinate led by the letter (upper case; the text's may be either) from the front of
// the text, for a sheet of `last` rows or columns: an index from 1 to last, or an offset in
// brackets, signed, less than last either way. Returns the count of characters read, 0 when the
// text starts with no such coordinate.
size_t ReadR1C1Coordinate(std::string_view text, char letter, int last, R1C1Coordinate& coordinate);

// A sheet name as a reference writes it, with its "!": as it is when it is a plain name
// ("Sheet1!", "销售!", "Q1.2024!"), else in apostrophes with every apostrophe inside doubled
// ("'My sheet'!", "'It''s'!", "'A1'!"). A plain name starts with a letter, "_" or a character
// past ASCII, goes on with those, digits and ".", and reads as no cell: not one to three letters
// and a row number ("A1", "IW1", "XFD99") nor an R1C1 cell ("R", "C", "RC", "R2", "C3", "R2C3"),
// in either case. The page writes names by the same rule (web/address.js).
std::string SheetPrefix(std::string_view name);

}  // namespace tavrin
