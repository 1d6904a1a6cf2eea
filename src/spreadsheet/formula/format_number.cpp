#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/format_section.h"

namespace tavrin {

namespace {

using Kind = FormatToken::Kind;

// Where a section's parts are: its digit places before the point (or the exponent), after it,
// and in the exponent.
struct Places {
  size_t wholeEnd = 0, exponent = 0;
  std::string whole, fraction, power;
  bool grouping = false;
};

// A comma between digit places of the whole part groups thousands; a run of commas right after
// a digit place and before none ("#,##0,", "0.0,,", "0,.0") divides by a thousand each; any
// other comma is text. The commas that are no text lose theirs.
double ReadCommas(std::vector<FormatToken>& tokens, Places& places, double number) {
  auto isDigit = [&](size_t i) { return i < tokens.size() && tokens[i].kind == Kind::Digit; };
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind != Kind::Comma) continue;
    size_t before = i, after = i;
    while (before > 0 && tokens[before - 1].kind == Kind::Comma) --before;
    while (after < tokens.size() && tokens[after].kind == Kind::Comma) ++after;
    bool afterDigit = isDigit(before - 1);  // at the first token, before - 1 wraps past the end
    if (afterDigit && isDigit(after) && i < places.wholeEnd) {
      places.grouping = true;
      tokens[i].text.clear();
    } else if (afterDigit && !isDigit(after)) {
      number /= 1000;
      tokens[i].text.clear();
    }
  }
  return number;
}

Places PlacesOf(const std::vector<FormatToken>& tokens) {
  Places places;
  size_t point = tokens.size();
  places.exponent = tokens.size();
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == Kind::Point && point == tokens.size()) point = i;
    if (tokens[i].kind == Kind::Exponent && places.exponent == tokens.size()) places.exponent = i;
  }
  places.wholeEnd = std::min(point, places.exponent);
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind != Kind::Digit) continue;
    (i < places.wholeEnd   ? places.whole
     : i < places.exponent ? places.fraction
                           : places.power) += tokens[i].text;
  }
  return places;
}

// The whole part's digits ("" for 0) and the first `count` digits of the fraction of a number
// from 0, from its 15 significant digits: the host shows no more.
void DecimalDigits(double number, size_t count, std::string& whole, std::string& fraction) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.14e", number);
  std::string mantissa = std::string(1, buffer[0]) + std::string(buffer + 2, 14);
  int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
  whole.clear();
  for (int k = 0; k <= exponent; ++k) whole += k < 15 ? mantissa[static_cast<size_t>(k)] : '0';
  if (whole == "0" || number == 0) whole.clear();
  fraction.assign(count, '0');
  for (size_t j = 0; j < count; ++j) {
    long long k = exponent + static_cast<long long>(j) + 1;
    if (k >= 0 && k < 15) fraction[j] = mantissa[static_cast<size_t>(k)];
  }
}

// The whole part's digits for its places: forced places ("0", "?") pad them with zeros or
// blanks, and thousands are grouped.
std::string PaddedWhole(const std::string& digits, const Places& places) {
  size_t firstForced = places.whole.find_first_of("0?");
  size_t forced = firstForced == std::string::npos ? 0 : places.whole.size() - firstForced;
  std::string padded = digits;
  padded.insert(0, forced - std::min(forced, padded.size()), '0');
  // The zeros put in front stand in places from the first forced one on.
  for (size_t i = 0; i + digits.size() < padded.size(); ++i) {
    if (places.whole[places.whole.size() - padded.size() + i] == '?') padded[i] = ' ';
  }
  if (!places.grouping) return padded;
  std::string grouped;
  for (size_t i = 0; i < padded.size(); ++i) {
    if (i > 0 && (padded.size() - i) % 3 == 0 && padded[i - 1] != ' ') grouped += ',';
    grouped += padded[i];
  }
  return grouped;
}

// The fraction's digits for its places: trailing zeros in "#" places go, in "?" places become
// blanks.
std::string ShownFraction(std::string fraction, const std::string& places) {
  for (size_t i = fraction.size(); i-- > 0 && fraction[i] == '0' && places[i] != '0';)
    fraction[i] = places[i] == '?' ? ' ' : '\0';
  fraction.erase(std::find(fraction.begin(), fraction.end(), '\0'), fraction.end());
  return fraction;
}

// The power of ten an exponent format shows, the number scaled to it.
int Exponent(double& number, const Places& places) {
  if (number == 0) return 0;
  int wholeDigits = std::max<int>(1, static_cast<int>(places.whole.size()));
  int power = static_cast<int>(std::floor(std::log10(number))) - (wholeDigits - 1);
  number /= std::pow(10.0, power);
  double rounded =
      RoundDigits(number, static_cast<double>(places.fraction.size()), Rounding::Nearest);
  if (rounded >= std::pow(10.0, wholeDigits)) {
    power += 1;
    number /= 10;
  }
  return power;
}

}  // namespace

Variant FormatNumber(const FormatSection& section, double number, bool minus) {
  std::vector<FormatToken> tokens = section.tokens;
  if (std::any_of(tokens.begin(), tokens.end(),
                  [](const FormatToken& t) { return t.kind == Kind::Slash; }))
    return FormatFraction(tokens, number, minus);
  Places places = PlacesOf(tokens);
  number = ReadCommas(tokens, places, number);
  for (const FormatToken& token : tokens) {
    if (token.kind == Kind::Percent) number *= 100;
  }
  int power = places.exponent < tokens.size() ? Exponent(number, places) : 0;
  number = RoundDigits(number, static_cast<double>(places.fraction.size()), Rounding::Nearest);
  std::string digits, fraction;
  DecimalDigits(number, places.fraction.size(), digits, fraction);
  fraction = ShownFraction(fraction, places.fraction);
  std::string padded = PaddedWhole(digits, places);
  // The whole part's places take its digits from the right, one each; the first takes all
  // that are left ("000-0000" shows 1234567 as 123-4567). Grouped digits go at the first.
  size_t wholeCount = places.grouping ? 1 : places.whole.size();
  std::string out = minus ? "-" : "";
  size_t wholeSeen = 0, fractionSeen = 0, exponentSeen = 0;
  size_t wholeAt = std::string::npos;  // where the point or the percent sign shows
  for (size_t i = 0; i < tokens.size(); ++i) {
    const FormatToken& token = tokens[i];
    if (wholeAt == std::string::npos && (token.kind == Kind::Point || token.kind == Kind::Percent))
      wholeAt = out.size();
    if (token.kind == Kind::Digit && i < places.wholeEnd) {
      size_t k = wholeSeen++;
      size_t fromRight = k < wholeCount ? wholeCount - 1 - k : padded.size();
      if (k == 0) {
        out += padded.substr(0, padded.size() - std::min(padded.size(), fromRight));
      } else if (fromRight < padded.size()) {
        out += padded[padded.size() - 1 - fromRight];
      }
    } else if (token.kind == Kind::Digit && i < places.exponent) {
      if (fractionSeen < fraction.size()) out += fraction[fractionSeen];
      ++fractionSeen;
    } else if (token.kind == Kind::Digit) {
      if (exponentSeen++ == 0) out += Padded(std::abs(power), places.power.size());
    } else if (token.kind == Kind::Point) {
      out += '.';
    } else if (token.kind == Kind::Exponent) {
      out += power < 0 ? "E-" : token.text == "+" ? "E+" : "E";
    } else if (token.kind != Kind::Text) {
      out += token.text;
    }
  }
  bool showsNumber = std::any_of(tokens.begin(), tokens.end(), [](const FormatToken& t) {
    return t.kind == Kind::Digit || t.kind == Kind::Point || t.kind == Kind::Percent;
  });
  if (places.whole.empty() && !digits.empty() && showsNumber) {
    // No place for the whole part: it goes before the point (or the percent sign). A section
    // of literals alone shows them alone.
    out.insert(std::min(wholeAt, out.size()), digits);
  }
  return Variant(out);
}

}  // namespace tavrin
