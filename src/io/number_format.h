#pragma once

#include <pugixml.hpp>

#include <string_view>
#include <vector>

namespace tavrin {

// A number format code that shows a date or a time: it holds d, m, y, h or s outside quoted
// texts, brackets ([Red], [$-804]) and escaped characters.
bool IsDateFormat(std::string_view code);

// A built-in number format id that shows a date or time: 14-22 and 45-47, and the East Asian
// date formats 27-36 and 50-58.
bool IsDateFormatId(int id);

// For every cell format (cellXfs) of a styles part, in order: whether it shows a date.
std::vector<bool> DateStyles(const pugi::xml_document& styles);

}  // namespace tavrin
