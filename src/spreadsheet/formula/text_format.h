#pragma once

#include <string_view>

#include "host/variant.h"

namespace tavrin {

// A value as TEXT shows it in a number format code, the host's codes: sections for positive,
// negative and zero numbers and for texts (";"), or sections chosen by bracketed conditions
// ("[<10]0.0;0"); digits "0", "#" and "?", which take their digits from the right around
// literals ("000-0000"); the decimal point, thousands separators and the thousands scaling of
// trailing commas ("0.0,,"); fractions ("# ?/?", "# ?/8"); "%", exponents "E+00", texts in
// quotes, "\" escapes, "_" spaces, "@" the text, and dates and times (y, m, d, h, s, AM/PM,
// [h], and Chinese literals such as "yyyy年m月d日"). "General" (or "G/通用格式") shows the
// number as a cell does; an empty section shows nothing (";;;"). Numbers show at most 15
// significant digits. A text that reads as a number is formatted as that number; other texts
// go through the text section, or stay as they are. A date code for a number outside the
// host's dates is #VALUE!. The grid's cells show their values by the same function.
Variant FormatText(const Variant& value, std::string_view code);

}  // namespace tavrin
