#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/user_locale.h"
#include "host/variant.h"

namespace tavrin {

// What a cell shows in its column, as the host draws it.
struct ShownText {
  std::string text;
  std::optional<uint32_t> colour;  // 0xRRGGBB of a colour section ([Red]), when the code has one
};

// How many digits a column of this width (in characters, as the file stores it) holds: the
// pixels inside its edges over the width of a digit, 7 pixels.
double DigitsHeld(double columnWidth);

// The width of a text in digits: ".", ",", ":" and the space count half, "#" one and a quarter,
// "%" one and a half, a wide (East Asian) character two, anything else one.
double TextDigits(std::string_view text);

// A value in its number format code ("" for General) in a column of the given width:
// - a General number takes at most 11 characters and no more than the column holds: its
//   decimals rounded away first, then shown in scientific form, then as "#" across the column;
// - a formatted number is the format's text (FormatText, as TEXT() shows it), or "#" across
//   the column when that text is wider than the column;
// - texts, Booleans and error values show as they are; a text is never formatted as a number.
ShownText ShowInColumn(const Variant& value, std::string_view code, double columnWidth,
                       const UserLocale& locale);

}  // namespace tavrin
