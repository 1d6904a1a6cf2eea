#pragma once

#include <string>

namespace tavrin {

struct Cell;
struct WorkbookStyles;

// A number as a worksheet part writes it: the shortest text that reads back as the same number.
void AppendNumber(std::string& out, double number);

// A cell's name in a worksheet part: "B12".
void AppendCellName(std::string& out, int row, int column);

// A cell's element of a worksheet part, "<c r=...>...</c>": its style (a date in a cell whose
// format shows none takes the workbook's first date format), its formula as a file holds it
// (an array formula's as one of a single cell), and its value: a text inline, or as a formula's
// result; a date counted as the workbook counts; a number past the range of numbers as #NUM!,
// which every program reads.
void AppendCellXml(std::string& out, int row, int column, const Cell& cell,
                   const WorkbookStyles& styles);

}  // namespace tavrin
