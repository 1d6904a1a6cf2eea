#pragma once

#include <string>

namespace tavrin {

// Pieces of the formula texts the summary tools write, in R1C1 notation with numbers in plain
// decimal.

// "R2C3:R100C3": rows first to last of an absolute column.
inline std::string ColumnSpan(int firstRow, int lastRow, int column) {
  return "R" + std::to_string(firstRow) + "C" + std::to_string(column) + ":R" +
         std::to_string(lastRow) + "C" + std::to_string(column);
}

// "R2C[-6]:R100C[-6]": rows first to last of the column at an offset from the formula's cell.
inline std::string OffsetColumnSpan(int firstRow, int lastRow, int offset) {
  return "R" + std::to_string(firstRow) + "C[" + std::to_string(offset) + "]:R" +
         std::to_string(lastRow) + "C[" + std::to_string(offset) + "]";
}

}  // namespace tavrin
