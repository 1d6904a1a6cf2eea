#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <vector>

namespace tavrin {

// The colours of a workbook's theme part (0xRRGGBB) in the order a styles part's theme="N"
// counts them: light 1, dark 1, light 2, dark 2, the six accents, the link and the followed
// link (the part lists each pair dark first). Empty without a theme.
std::vector<uint32_t> ThemeColours(const pugi::xml_document& theme);

// A colour lightened (tint > 0) or darkened (tint < 0) as a styles part's tint asks: its
// luminance moved that share of the way towards white, or scaled down towards black.
uint32_t Tinted(uint32_t colour, double tint);

}  // namespace tavrin
