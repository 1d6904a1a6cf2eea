#pragma once

#include <pugixml.hpp>

#include <string_view>
#include <vector>

namespace tavrin {

// Days from 1900-01-00 to 1904-01-01: a workbook in the 1904 date system (date1904) stores
// each calendar date with a serial that many days smaller than the model's.
constexpr double kDays1900To1904 = 1462;

// A number format code that shows a date or a time: it holds d, m, y, h or s outside quoted
// texts, brackets ([Red], [$-804]) and escaped characters.
bool IsDateFormat(std::string_view code);

// A date format code that shows a day, a month or a year, not a time alone (a lone m is a
// month unless the code also shows hours or seconds).
bool IsCalendarFormat(std::string_view code);

// A built-in number format id that shows a date or time: 14-22 and 45-47, and the East Asian
// date formats 27-36 and 50-58.
bool IsDateFormatId(int id);

// For every cell format (cellXfs) of a styles part, in order: whether it shows a date.
std::vector<bool> DateStyles(const pugi::xml_document& styles);

// For every cell format of a styles part, in order: whether it shows a calendar date.
std::vector<bool> CalendarStyles(const pugi::xml_document& styles);

}  // namespace tavrin
