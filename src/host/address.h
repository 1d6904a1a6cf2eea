#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// The sheet's size, as the host version the toolbox is built for has it.
constexpr int kLastRow = 65536;
constexpr int kLastColumn = 256;  // IV

// A rectangle of cells, 1-based, row first.
struct Area {
  int row = 1;
  int column = 1;
  int rows = 1;
  int columns = 1;

  int LastRow() const { return row + rows - 1; }
  int LastColumn() const { return column + columns - 1; }
  long long Count() const { return static_cast<long long>(rows) * columns; }
  bool Contains(int r, int c) const {
    return r >= row && r <= LastRow() && c >= column && c <= LastColumn();
  }
  bool IsWholeColumns() const { return row == 1 && rows == kLastRow; }
  bool IsWholeRows() const { return column == 1 && columns == kLastColumn; }
  bool operator==(const Area&) const = default;
};

// An address text taken apart: the sheet it names (empty when none) and its areas.
struct ParsedAddress {
  std::string sheet;
  std::vector<Area> areas;
};

// "A" for 1, "IV" for 256.
std::string ColumnLetters(int column);

// The absolute A1 address of an area as the host writes it: "$A$1", "$A$1:$B$2", whole
// columns "$A:$C", whole rows "$3:$3".
std::string AreaAddress(const Area& area);

// Reads an A1 address text: cells and ranges ("B2", "$B$2:C9"), whole columns ("A:C") and
// rows ("3:5"), an optional sheet ("Sheet1!A1", "'My sheet'!A1", quotes doubled inside), and
// several areas joined by commas (one sheet for all). Blanks around the text are allowed.
// Anything else, or a reference beyond IV65536, gives nothing.
std::optional<ParsedAddress> ParseAddress(std::string_view text);

}  // namespace tavrin
