#pragma once

#include <pugixml.hpp>

#include <string>
#include <string_view>

#include "io/row_xml.h"

namespace tavrin {

// A worksheet part is mostly its cells. The cells are read a row at a time, each row parsed on
// its own, so reading never builds a tree of the whole sheet; the rest of the part is small and
// is read as a whole, with its sheetData left empty.
struct SheetPartSplit {
  std::string rest;            // the part with "<sheetData/>" for its cells
  std::string_view sheetData;  // what stood between <sheetData ...> and </sheetData>
};

// The part split at its sheetData; a part without one is all rest. A sheetData without its end
// fails (FormatError naming the part).
SheetPartSplit SplitSheetPart(std::string_view bytes, const std::string& part);

// The rows of a sheetData, one at a time: read straight from its characters, or parsed into a
// document of its own when written in a form the scanner leaves to the parser.
class SheetRows {
 public:
  SheetRows(std::string_view sheetData, const std::string& part) : rest_(sheetData), part_(part) {}

  // The next row, false after the last. A row left to the parser is parsed into the document,
  // which the row's texts then point into. A row that is no well-formed XML fails (FormatError
  // naming the part).
  bool Next(RowXml& row, pugi::xml_document& document);
  // The next row element's text, empty after the last.
  std::string_view NextText();

 private:
  std::string_view rest_;
  const std::string& part_;
};

}  // namespace tavrin
