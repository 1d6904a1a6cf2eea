#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

#include "host/address.h"

namespace tavrin {

class RowsAhead;
class Sheet;
struct Cell;
struct WorkbookStyles;

// What one file may make the reader hold: its cells, and the bytes of their texts and formulas
// (a shared string is copied into every cell that names it). Past either the file is refused
// (FormatError), before it takes more memory.
struct ReadBudget {
  static constexpr size_t kMostCells = size_t{1} << 22;
  static constexpr size_t kMostText = size_t{256} << 20;

  // Counts a cell read; fails past the budget.
  void Take(const Cell& cell);

  size_t cells = 0;
  size_t text = 0;
};

// The text of a shared or inline string: its runs joined, phonetic guides left out.
std::string RichText(pugi::xml_node item);

// The areas of a reference list from a defined name ("'Sales'!$A$1:$F$9,'Sales'!$1:$1"),
// the sheet names dropped; parts that are no address are skipped.
std::vector<Area> ReadAreas(std::string_view references);

// Fills a sheet from its worksheet part: cells (values, formulas with shared formulas expanded
// and their cached results, style indices; a number in a date format is a date), row heights,
// column widths and the layout (row and column formats, merged cells, margins, page setup,
// manual breaks, the view). A number in a format counting from 1904 is moved to the model's
// count. What lies beyond the sheet's last row or column is
// left out. The part comes split (SplitSheetPart): the tree of its rest and its cells' text.
void ReadWorksheet(const pugi::xml_document& rest, std::string_view sheetData,
                   const std::string& part, Sheet& sheet,
                   const std::vector<std::string>& sharedStrings, const WorkbookStyles& styles,
                   ReadBudget& budget);

// The same in two steps, for a part whose rest comes after its cells. The heights its rows give
// wait for the sheet's default height, which the rest holds.
struct RowHeight {
  int row;
  double height;
  bool custom;
};
using RowHeights = std::vector<RowHeight>;
RowHeights ReadWorksheetCells(RowsAhead& rows, Sheet& sheet,
                              const std::vector<std::string>& sharedStrings,
                              const WorkbookStyles& styles, ReadBudget& budget);
void ReadWorksheetRest(const pugi::xml_document& rest, const RowHeights& heights, Sheet& sheet,
                       size_t styles);

}  // namespace tavrin
