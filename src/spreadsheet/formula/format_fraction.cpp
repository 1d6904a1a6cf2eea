#include <cmath>
#include <string>
#include <vector>

#include "spreadsheet/formula/format_section.h"

namespace tavrin {

namespace {

using Kind = FormatToken::Kind;

// The nearest fraction of a number from 0 to 1 with a denominator up to `most`, the smallest
// denominator among equals.
void NearestFraction(double fraction, long long most, long long& numerator,
                     long long& denominator) {
  numerator = 0;
  denominator = 1;
  double best = fraction;
  for (long long d = 1; d <= most; ++d) {
    long long n = std::llround(fraction * static_cast<double>(d));
    double error = std::fabs(fraction - static_cast<double>(n) / static_cast<double>(d));
    if (error < best - 1e-12) best = error, numerator = n, denominator = d;
  }
}

// A number for digit places: "0" pads with zeros, "?" with blanks (on the left, or on the right
// for a denominator), "#" not at all; 0 in "#" places shows nothing.
std::string ForPlaces(long long number, const std::string& places, bool padRight) {
  std::string digits =
      number == 0 && places.find_first_of("0?") == std::string::npos ? "" : std::to_string(number);
  if (number == 0 && places.find('0') == std::string::npos && !digits.empty() && !padRight)
    digits = places.find('?') != std::string::npos ? " " : "";
  size_t forced = 0;
  for (char place : places) forced += place != '#';
  while (digits.size() < forced) {
    char pad = places[forced - digits.size() - 1] == '0' ? '0' : ' ';
    digits = padRight ? digits + ' ' : pad + digits;
  }
  return digits;
}

}  // namespace

Variant FormatFraction(const std::vector<FormatToken>& tokens, double number, bool minus) {
  size_t slash = 0;
  while (tokens[slash].kind != Kind::Slash) ++slash;
  size_t numeratorFrom = slash;
  while (numeratorFrom > 0 && tokens[numeratorFrom - 1].kind == Kind::Digit) --numeratorFrom;
  std::string wholePlaces, numeratorPlaces, denominatorPlaces;
  long long fixed = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == Kind::Denominator) fixed = std::stoll(tokens[i].text.substr(0, 9));
    if (tokens[i].kind != Kind::Digit) continue;
    (i < numeratorFrom ? wholePlaces
     : i < slash       ? numeratorPlaces
                       : denominatorPlaces) += tokens[i].text;
  }
  double whole = wholePlaces.empty() ? 0 : std::floor(number);
  long long numerator = 0, denominator = 1;
  if (fixed > 0) {
    denominator = fixed;
    numerator = std::llround((number - whole) * static_cast<double>(fixed));
  } else {
    long long most =
        static_cast<long long>(std::pow(10.0, std::min<size_t>(denominatorPlaces.size(), 4))) - 1;
    NearestFraction(number - whole, std::max(most, 1LL), numerator, denominator);
  }
  if (!wholePlaces.empty() && numerator == denominator) whole += 1, numerator = 0;
  bool blankFraction = numerator == 0 && !wholePlaces.empty();
  std::string out = minus ? "-" : "";
  size_t wholeSeen = 0;
  for (size_t i = 0; i < tokens.size(); ++i) {
    const FormatToken& token = tokens[i];
    std::string part;
    if (token.kind == Kind::Digit && i < numeratorFrom) {
      if (wholeSeen++ == 0)
        part = whole == 0 && blankFraction
                   ? "0"
                   : ForPlaces(static_cast<long long>(whole), wholePlaces, false);
    } else if (token.kind == Kind::Digit && i < slash) {
      if (i == numeratorFrom) part = ForPlaces(numerator, numeratorPlaces, false);
    } else if (token.kind == Kind::Digit) {
      if (tokens[i - 1].kind == Kind::Slash) part = ForPlaces(denominator, denominatorPlaces, true);
    } else if (token.kind == Kind::Denominator) {
      part = token.text;
    } else if (token.kind != Kind::Text) {
      part = token.text;
    }
    if (blankFraction && i >= numeratorFrom && i > 0 && token.kind != Kind::Literal)
      part.assign(part.size(), ' ');
    out += part;
  }
  return Variant(out);
}

}  // namespace tavrin
