#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

class Sheet;

// What a sheet's part says about how the workbook's window shows it.
struct SheetViewState {
  bool tabSelected = false;
  bool pageBreakPreview = false;
};

// The worksheet part of a sheet as the model holds it: cells (values, formulas with their
// results, style indices), rows with heights and formats, columns with widths and formats,
// merged cells, margins, page setup, manual breaks and the view. Given the part the sheet was
// read from, every element the model does not hold (print options, header and footer, drawings,
// conditional formats, ...) is kept in its place. dateStyles tells which cell formats show a
// date: a date in a cell whose format shows none gets the first date format. A number in a cell
// format styles1904 marks is written counted from 1904 (empty for a workbook counting from 1900).
std::string WriteWorksheet(const Sheet& sheet, const SheetViewState& view,
                           const std::vector<bool>& dateStyles, const std::vector<bool>& styles1904,
                           const pugi::xml_node& original);

// Takes a part's bytes as they are made, a piece at a time.
using PartSink = std::function<void(std::string_view)>;

// The same part handed to sink in pieces as it is made, so a large sheet is never held whole.
void WriteWorksheet(const Sheet& sheet, const SheetViewState& view,
                    const std::vector<bool>& dateStyles, const std::vector<bool>& styles1904,
                    const pugi::xml_node& original, const PartSink& sink);

}  // namespace tavrin
