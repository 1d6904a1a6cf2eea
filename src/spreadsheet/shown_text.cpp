#include "spreadsheet/shown_text.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

#include "spreadsheet/formula/text_format.h"
#include "spreadsheet/typed_entry.h"

namespace tavrin {

namespace {

constexpr size_t kMostGeneralCharacters = 11;

std::string Printed(const char* pattern, int decimals, double x) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, decimals, x);
  return buffer;
}

// "12.500" -> "12.5", "3.000E+05" -> "3E+05": the trailing zeros of the decimals go.
std::string WithoutTrailingZeros(std::string text) {
  size_t point = text.find('.');
  if (point == std::string::npos) return text;
  size_t exponent = std::min(text.find('E'), text.size());
  size_t last = text.find_last_not_of('0', exponent - 1);
  if (last == point) --last;
  return text.erase(last + 1, exponent - last - 1);
}

// The digits that carry the value: those after the first non-zero one, up to the exponent.
int SignificantDigits(const std::string& text) {
  int count = 0;
  bool started = false;
  for (char c : text) {
    if (c == 'E') break;
    if (c < '0' || c > '9') continue;
    started = started || c != '0';
    count += started ? 1 : 0;
  }
  return count;
}

// The longest text of the form, fewer decimals each try, that fits; "" when none does.
template <class Form>
std::string Longest(int mostDecimals, double held, Form form) {
  for (int decimals = mostDecimals; decimals >= 0; --decimals) {
    std::string text = WithoutTrailingZeros(form(decimals));
    if (text.size() <= kMostGeneralCharacters && TextDigits(text) <= held) return text;
  }
  return "";
}

// A General number in the room it has: plain with its decimals rounded, unless scientific
// form keeps more of its digits (a tiny or a huge number); "" when neither fits.
std::string GeneralInRoom(double x, double held) {
  int most = static_cast<int>(kMostGeneralCharacters);
  std::string plain;
  if (std::fabs(x) < 1e15) {
    int whole = std::fabs(x) >= 1 ? static_cast<int>(std::floor(std::log10(std::fabs(x)))) + 1 : 1;
    int decimals = std::max(0, most - (x < 0 ? 1 : 0) - whole - 1);
    plain = Longest(decimals, held, [x](int d) { return Printed("%.*f", d, x); });
  }
  std::string scientific = Longest(most, held, [x](int d) { return Printed("%.*E", d, x); });
  if (!plain.empty() && SignificantDigits(plain) >= SignificantDigits(scientific)) return plain;
  return scientific;
}

// The sections of a format code, split at the ";" outside quoted texts and escapes.
std::vector<std::string_view> Sections(std::string_view code) {
  std::vector<std::string_view> sections;
  size_t begin = 0;
  for (size_t i = 0; i <= code.size(); ++i) {
    if (i < code.size() && code[i] == '"') {
      i = std::min(code.find('"', i + 1), code.size() - 1);
    } else if (i < code.size() && code[i] == '\\') {
      ++i;
    } else if (i == code.size() || code[i] == ';') {
      sections.push_back(code.substr(begin, i - begin));
      begin = i + 1;
    }
  }
  return sections;
}

std::optional<uint32_t> NamedColour(std::string_view name) {
  static const std::pair<std::string_view, uint32_t> kColours[] = {
      {"red", 0xFF0000},     {"红色", 0xFF0000}, {"blue", 0x0000FF},   {"蓝色", 0x0000FF},
      {"green", 0x00FF00},   {"绿色", 0x00FF00}, {"black", 0x000000},  {"黑色", 0x000000},
      {"white", 0xFFFFFF},   {"白色", 0xFFFFFF}, {"yellow", 0xFFFF00}, {"黄色", 0xFFFF00},
      {"magenta", 0xFF00FF}, {"洋红", 0xFF00FF}, {"cyan", 0x00FFFF},   {"青色", 0x00FFFF}};
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& [known, colour] : kColours) {
    if (lower == known) return colour;
  }
  return std::nullopt;
}

// The colour of the section of a format code that shows this number ([Red], [红色], ...).
std::optional<uint32_t> SectionColour(std::string_view code, double x) {
  std::vector<std::string_view> sections = Sections(code);
  size_t which = x < 0 && sections.size() >= 2 ? 1 : x == 0 && sections.size() >= 3 ? 2 : 0;
  std::string_view section = sections[which];
  for (size_t i = 0; i < section.size(); ++i) {
    if (section[i] == '"') {
      i = std::min(section.find('"', i + 1), section.size());
    } else if (section[i] == '\\') {
      ++i;
    } else if (section[i] == '[') {
      size_t close = std::min(section.find(']', i), section.size());
      if (auto colour = NamedColour(section.substr(i + 1, close - i - 1))) return colour;
      i = close;
    }
  }
  return std::nullopt;
}

}  // namespace

double DigitsHeld(double columnWidth) {
  return (std::trunc(columnWidth * 7 + 5) - 5) / 7;
}

double TextDigits(std::string_view text) {
  double digits = 0;
  for (char c : text) {
    auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;
    digits += c == '.' || c == ',' || c == ':' || c == ' ' ? 0.5
              : c == '#'                                   ? 1.25
              : c == '%'                                   ? 1.5
              : byte >= 0xE0                               ? 2
                                                           : 1;
  }
  return digits;
}

ShownText ShowInColumn(const Variant& value, std::string_view code, double columnWidth,
                       const UserLocale& locale) {
  if (!value.IsNumber() && !value.IsDate()) return {DisplayText(value, locale), std::nullopt};
  double held = DigitsHeld(columnWidth);
  std::string hashes(static_cast<size_t>(std::max(1.0, std::floor(held / TextDigits("#")))), '#');
  if (code.empty() && value.IsNumber()) {
    std::string text = GeneralInRoom(value.AsNumber(), held);
    return {text.empty() ? hashes : text, std::nullopt};
  }
  Variant shown = code.empty() ? Variant(DisplayText(value, locale)) : FormatText(value, code);
  std::optional<uint32_t> colour = SectionColour(code, value.AsNumber());
  if (!shown.IsText() || TextDigits(shown.AsText()) > held) return {hashes, colour};
  return {shown.AsText(), colour};
}

}  // namespace tavrin
