#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

#include "component/korvel.h"
#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";
const char* const kBaseMessage = "错误，进制位为 2-16 之间的数值 ！";
const char* const kIllegalMessage = "在该进制下，参数中含有非法字符";

bool BaseInRange(int base) { return base >= 2 && base <= 16; }

// Formats a number with no decimals, halves rounded away from zero, no grouping.
std::string WholeNumberText(double number) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::round(number));
  std::string text = buffer;
  return text == "-0" ? "0" : text;
}

// Normalisation shared by both directions: a number, or a text that reads as one, becomes its
// whole-number text; anything else is taken as text as it stands.
std::string Normalize(const Variant& argument, const UserLocale& locale) {
  try {
    if (!argument.IsText()) return WholeNumberText(NumberOf(argument, locale));
    if (auto number = ReadNumber(argument.AsText(), locale)) return WholeNumberText(*number);
    return argument.AsText();
  } catch (const HostError&) {
    // An error value has no number, and its text ("#N/A") holds no digit of any base.
    return std::string(ErrorText(argument.AsError()));
  }
}

void RemoveLeadingZeros(std::string& text) { text.erase(0, text.find_first_not_of('0')); }

// Removes "," and the full-width comma "，".
void RemoveCommas(std::string& text) {
  const std::string fullWidthComma = "，";
  for (size_t at; (at = text.find(fullWidthComma)) != std::string::npos;) {
    text.erase(at, fullWidthComma.size());
  }
  std::erase(text, ',');
}

bool AllDigitsOf(std::string_view text, std::string_view digits) {
  return text.find_first_not_of(digits) == std::string_view::npos;
}

// The group size: a count; below 1 (or not a number) it is 0.
long GroupSize(const Variant& listSeparator, const UserLocale& locale) {
  double size = 0;
  try {
    size = NumberOf(listSeparator, locale);
  } catch (const HostError&) {
    return 0;
  }
  return size < 1 ? 0 : static_cast<long>(std::nearbyint(size));
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
  return value;
}

Variant Korvel::DecTo(const Variant& DecNumber, std::uint8_t jz, const Variant& ListSeparator) {
  if (!BaseInRange(jz)) return kBaseMessage;
  std::string text = Normalize(DecNumber, runtime.Locale());
  RemoveLeadingZeros(text);
  RemoveCommas(text);
  if (!AllDigitsOf(text, kDigits.substr(0, 10))) return kIllegalMessage;
  double n = text.empty() ? 0 : std::floor(std::stod(text));
  std::string result;
  do {
    // fmod is exact, so the digit stays within the base even past 2^53.
    result.insert(result.begin(), kDigits[static_cast<size_t>(std::fmod(n, jz))]);
    n = std::floor(n / jz);
  } while (n != 0);
  if (jz == 10) return std::floor(std::stod(result));
  long size = GroupSize(ListSeparator, runtime.Locale());
  return size == 0 ? result : Grouped(result, size);
}

Variant Korvel::BaseToBase(const Variant& numberStr, std::uint8_t InputBase,
                           std::uint8_t OutputBase, const Variant& ListSeparator) {
  if (InputBase == 10) return DecTo(numberStr, OutputBase, ListSeparator);
  return DecTo(ToDec(numberStr, InputBase), OutputBase, ListSeparator);
}

}  // namespace tavrin
