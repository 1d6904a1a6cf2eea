#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Whether a character encoding of that name is known ("UTF-8", "GB18030", "GBK", "UTF-16LE",
// "latin1", ...; letter case ignored).
bool IsKnownEncoding(std::string_view name);

// Whether the bytes are UTF-8 throughout.
bool IsUtf8(std::string_view bytes);

// The text of a file as UTF-8, its byte-order mark removed. With no encoding named the file
// tells: a UTF-8 byte-order mark or UTF-8 throughout is UTF-8, a UTF-16 byte-order mark is
// UTF-16 in that byte order, anything else GB18030 (what spreadsheet programs write in the
// Chinese locale; GBK is part of it). Bytes that are no character of the encoding become
// U+FFFD. A named encoding must be known (IsKnownEncoding).
std::string DecodeText(std::string_view bytes, std::string_view encoding = {});

}  // namespace tavrin
