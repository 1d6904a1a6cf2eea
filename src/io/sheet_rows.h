#pragma once

#include <pugixml.hpp>

#include <functional>
#include <optional>
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

// The part split at its sheetData; a part without one is all rest. The cells end at the first
// end of the sheetData; a sheetData without one fails (FormatError naming the part).
SheetPartSplit SplitSheetPart(std::string_view bytes, const std::string& part);

// A sheet part still arriving: its text so far, and a call that appends more to it, false
// (appending nothing) once the part is whole. The text must stay where it is as it grows: rows
// read point into it.
struct ArrivingPart {
  std::string& text;
  std::function<bool()> more;
};

// Waits for a sheet part's cells to begin: the position just past its sheetData's start tag,
// npos when the part has no cells (no sheetData, or an empty one), and then the part is whole.
size_t ArriveAtCells(ArrivingPart part);

// The rows of a sheetData, one at a time: read straight from its characters, or parsed into a
// document of its own when written in a form the scanner leaves to the parser. The rows end at
// the first end of the sheetData between them, or at the end of the text.
class SheetRows {
 public:
  // The rows of a whole sheetData (SheetPartSplit).
  SheetRows(std::string_view sheetData, const std::string& part) : whole_(sheetData), part_(part) {}
  // The rows of a part still arriving, from a position past its sheetData's start tag. After the
  // last row the part is whole.
  SheetRows(ArrivingPart arriving, size_t from, const std::string& part)
      : arriving_(std::move(arriving)), at_(from), part_(part) {}

  // The next row, false after the last. A row left to the parser is parsed into the document,
  // which the row's texts then point into. A row that is no well-formed XML fails (FormatError
  // naming the part).
  bool Next(RowXml& row, pugi::xml_document& document);
  // The next row element's text, empty after the last.
  std::string_view NextText();

 private:
  // What has come of the text, and whether more came.
  std::string_view Arrived() const;
  bool More();
  // Ends the rows: the rest of the part comes.
  std::string_view End();

  std::string_view whole_;
  std::optional<ArrivingPart> arriving_;
  size_t at_ = 0;     // where the next row is looked for
  std::string part_;  // named in messages
};

}  // namespace tavrin
