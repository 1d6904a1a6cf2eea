#pragma once

#include <pugixml.hpp>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tavrin {

class Book;

// How a cell format of a file shows its cells: a bold font, the colour of a solid fill and of
// the font (0xRRGGBB), the number format code ("" for General) and the borders.
struct CellLook {
  bool bold = false;
  std::optional<uint32_t> fill;
  std::optional<uint32_t> colour;
  std::string numberFormat;
  // The borders, top, right, bottom, left, as a page writes a border: "1px solid #000000";
  // "" for none.
  std::array<std::string, 4> borders;

  bool HasBorder() const { return borders != std::array<std::string, 4>{}; }
  // Whether an empty cell of this look shows anything: a fill or a border.
  bool Shows() const { return fill || HasBorder(); }
  bool IsPlain() const { return !bold && !colour && numberFormat.empty() && !Shows(); }
  // The fill as a page writes a colour: "#RRGGBB"; "" for none.
  std::string FillText() const;
};

// The code of a built-in number format a file names by id alone, as a Chinese-language host
// shows it; "" for General and for an id not listed.
std::string BuiltInFormat(int id);

// A colour as a page writes it: "#RRGGBB".
std::string ColourText(uint32_t colour);

// For every cell format (cellXfs) of a styles part, in order: its look. A font or fill the
// format names that the part lacks counts as none; so does a colour given by a theme colour
// the theme part (when there is one) lacks, or by a palette index the part's palette (or the
// standard one) does not hold. A built-in number
// format is given by its code as a Chinese-language host shows it.
std::vector<CellLook> CellLooks(const pugi::xml_document& styles,
                                const pugi::xml_document& theme = pugi::xml_document());

// The look of a cell format of a workbook read from an .xlsx file; null for a workbook from
// anywhere else, for a format the file does not have, and for a plain one.
const CellLook* LookOf(const Book& book, uint32_t style);

}  // namespace tavrin
