#pragma once

#include <pugixml.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

class Sheet;
struct WorkbookStyles;

// What a sheet's part says about how the workbook's window shows it.
struct SheetViewState {
  bool tabSelected = false;
  bool pageBreakPreview = false;
};

// The worksheet part of a sheet as the model holds it: cells (values, formulas with their
// results, style indices), rows with heights and formats, columns with widths and formats,
// merged cells, margins, page setup, manual breaks and the view. Given the part the sheet was
// read from, every element the model does not hold (print options, header and footer, drawings,
// conditional formats, ...) is kept in its place. A date in a cell whose format shows none gets
// the workbook's first date format; a number in a format counting from 1904 is written so.
std::string WriteWorksheet(const Sheet& sheet, const SheetViewState& view,
                           const WorkbookStyles& styles, const pugi::xml_node& original);

// Takes a part's bytes as they are made, a piece at a time.
using PartSink = std::function<void(std::string_view)>;

// The same part handed to sink in pieces as it is made, so a large sheet is never held whole.
void WriteWorksheet(const Sheet& sheet, const SheetViewState& view, const WorkbookStyles& styles,
                    const pugi::xml_node& original, const PartSink& sink);

}  // namespace tavrin
