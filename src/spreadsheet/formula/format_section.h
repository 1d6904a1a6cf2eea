#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/variant.h"

namespace tavrin {

// The parts of a number format code that TEXT and the grid's cells show values by.

// One part of a section: a literal text, a digit place, or a date or time field.
struct FormatToken {
  enum class Kind {
    Literal,
    Digit,
    Point,
    Comma,
    Percent,
    Exponent,
    Slash,        // a fraction's, between digit places
    Denominator,  // a fraction's fixed denominator ("# ?/8")
    Date,
    Text,
    General
  };
  Kind kind;
  std::string text;  // the literal, the placeholder ("0", "#", "?"), the field ("yyyy", "[h]")
};

// A condition in brackets at a section's start ("[<10]").
struct FormatCondition {
  std::string op;  // "<", "<=", ">", ">=", "=", "<>"
  double value = 0;
  bool Holds(double number) const;
};

// A section taken apart: its parts, whether it shows a date or time, a number in the general
// format or a text ("@"), and its condition.
struct FormatSection {
  std::vector<FormatToken> tokens;
  bool date = false;
  bool general = false;
  bool text = false;
  std::optional<FormatCondition> condition;
};

// The sections of a code, split at ";" outside quotes, escapes and brackets.
std::vector<std::string_view> FormatSections(std::string_view code);
FormatSection ParseFormatSection(std::string_view code);

// A number from 0 as the section's digit places show it, a "-" first when `minus`.
Variant FormatNumber(const FormatSection& section, double number, bool minus);
// A number from 0 as a fraction: whole places (if any), numerator places, "/", and denominator
// places (the nearest fraction whose denominator has no more digits) or a fixed denominator.
Variant FormatFraction(const std::vector<FormatToken>& tokens, double number, bool minus);
// A date and time as the section's fields show it; #VALUE! outside the host's dates.
Variant FormatDate(const FormatSection& section, double serial);

// A number with at least `width` digits, zeros in front.
std::string Padded(long long number, size_t width);
char LowerAscii(char c);

}  // namespace tavrin
