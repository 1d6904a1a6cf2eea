#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <deque>

#include "io/cell_looks.h"

namespace tavrin {

class Book;

// A cell format a workbook gains as the user types into it: a copy of one of its formats (base)
// that shows numbers with one of the host's built-in number formats instead, as the host formats
// a cell given a typed percentage ("0%", or "0.00%" when it was typed with decimals).
struct AddedFormat {
  uint32_t base = 0;
  int numberFormatId = 0;
  CellLook look;
};

// A workbook's added formats, numbered on from the first number its own formats leave free.
struct AddedFormats {
  uint32_t first = 0;
  std::deque<AddedFormat> formats;  // a deque, so that the looks handed out stay put

  const AddedFormat* Find(uint32_t style) const {
    return style >= first && style - first < formats.size() ? &formats[style - first] : nullptr;
  }
};

// The number of the format that is `style` but shows numbers with the built-in number format
// numberFormatId: `style` itself when it shows them so already, else an added format (the same
// one for the same two numbers).
uint32_t FormatShowing(Book& book, uint32_t style, int numberFormatId);

// The workbook's added formats; null when it has none.
const AddedFormats* AddedFormatsOf(const Book& book);

// The styles part's cell formats (cellXfs) with the added ones at their end: each a copy of its
// base's cell format (the first one's, when the part has no such format) with the number
// format's id in place and applied.
void AppendAddedFormats(pugi::xml_document& styles, const AddedFormats& added);

}  // namespace tavrin
