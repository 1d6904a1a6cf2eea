#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "component/korvel.h"
#include "host/characters.h"
#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";
const char* const kBaseMessage = "错误，进制位为 2-16 之间的数值 ！";
const char* const kIllegalMessage = "在该进制下，参数中含有非法字符";

bool BaseInRange(int base) {
  return base >= 2 && base <= 16;
}

// Formats a number with no decimals, halves rounded away from zero, no grouping.
std::string WholeNumberText(double number) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::round(number));
  std::string text = buffer;
  return text == "-0" ? "0" : text;
}

bool AllDigitsOf(std::string_view text, std::string_view digits) {
  return text.find_first_not_of(digits) == std::string_view::npos;
}

// Normalisation shared by both directions: a number, or a text that reads as one, becomes its
// whole-number text; anything else is taken as text as it stands. Digits alone (blanks around
// them aside) are a whole number's text already: they stay as typed, for read as a decimal
// number they would lose every digit past the fifteenth or so, and a long binary or
// hexadecimal number with them.
std::string Normalize(const Variant& argument, const UserLocale& locale) {
  try {
    if (!argument.IsText()) return WholeNumberText(NumberOf(argument, locale));
    std::string_view text = argument.AsText();
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (!text.empty() && AllDigitsOf(text, kDigits.substr(0, 10))) return std::string(text);
    if (auto number = ReadNumber(text, locale)) return WholeNumberText(*number);
    return argument.AsText();
  } catch (const HostError&) {
    // An error value has no number, and its text ("#N/A") holds no digit of any base.
    return std::string(ErrorText(argument.AsError()));
  }
}

void RemoveLeadingZeros(std::string& text) {
  text.erase(0, text.find_first_not_of('0'));
}

// Removes "," and the full-width comma "，".
void RemoveCommas(std::string& text) {
  const std::string fullWidthComma = "，";
  for (size_t at; (at = text.find(fullWidthComma)) != std::string::npos;) {
    text.erase(at, fullWidthComma.size());
  }
  std::erase(text, ',');
}

// The value of a text of decimal digits ("" is 0), or nothing when it is past a double's range.
std::optional<double> DecimalValue(std::string_view digits) {
  double value = 0;
  if (digits.empty()) return value;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

// The group size: a count; below 1 (or not a number) it is 0. A group longer than a cell's text
// can be (32767 characters) is no size at all.
std::optional<long> GroupSize(const Variant& listSeparator, const UserLocale& locale) {
  constexpr double kLongestText = 32767;
  double size = 0;
  try {
    size = NumberOf(listSeparator, locale);
  } catch (const HostError&) {
    return 0;
  }
  if (size < 1) return 0;
  if (!(std::nearbyint(size) <= kLongestText)) return std::nullopt;
  return static_cast<long>(std::nearbyint(size));
}

std::string Grouped(std::string digits, long size) {
  long pad = (size - static_cast<long>(digits.size()) % size) % size;
  digits.insert(0, static_cast<size_t>(pad), '0');
  std::string grouped;
  for (size_t at = 0; at < digits.size(); at += size) {
    if (!grouped.empty()) grouped += ',';
    grouped += digits.substr(at, size);
  }
  return grouped;
}

}  // namespace

Variant Korvel::ToDec(const Variant& numberStr, std::uint8_t jz) {
  if (numberStr.IsEmpty() || (numberStr.IsText() && numberStr.AsText().empty())) return "";
  if (!BaseInRange(jz)) return kBaseMessage;
  std::string text = Normalize(numberStr, runtime.Locale());
  RemoveCommas(text);
  RemoveLeadingZeros(text);
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  std::string_view digits = kDigits.substr(0, jz);
  if (!AllDigitsOf(text, digits)) return kIllegalMessage;
  // An all-zero text sums nothing: no value at all.
  if (text.empty()) return Variant();
  double value = 0;
  for (char c : text) value = value * jz + static_cast<double>(digits.find(c));
  // A number past a double's range is no number the conversion can give.
  if (!std::isfinite(value)) return kIllegalMessage;
  return value;
}

Variant Korvel::DecTo(const Variant& DecNumber, std::uint8_t jz, const Variant& ListSeparator) {
  if (!BaseInRange(jz)) return kBaseMessage;
  std::string text = Normalize(DecNumber, runtime.Locale());
  RemoveLeadingZeros(text);
  RemoveCommas(text);
  if (!AllDigitsOf(text, kDigits.substr(0, 10))) return kIllegalMessage;
  std::optional<double> value = DecimalValue(text);
  if (!value) return kIllegalMessage;
  if (jz == 10) return *value;
  std::string result;
  double n = *value;
  do {
    // fmod is exact, so the digit stays within the base even past 2^53.
    result.insert(result.begin(), kDigits[static_cast<size_t>(std::fmod(n, jz))]);
    n = std::floor(n / jz);
  } while (n != 0);
  std::optional<long> size = GroupSize(ListSeparator, runtime.Locale());
  if (!size) return kIllegalMessage;
  return *size == 0 ? result : Grouped(result, *size);
}

Variant Korvel::BaseToBase(const Variant& numberStr, std::uint8_t InputBase,
                           std::uint8_t OutputBase, const Variant& ListSeparator) {
  if (InputBase == 10) return DecTo(numberStr, OutputBase, ListSeparator);
  return DecTo(ToDec(numberStr, InputBase), OutputBase, ListSeparator);
}

}  // namespace tavrin
