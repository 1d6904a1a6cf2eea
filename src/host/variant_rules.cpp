// The runtime's conversions of values and its variant addition and comparison.

#include "host/variant_rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "host/characters.h"
#include "host/host_error.h"

namespace tavrin {

namespace {

int DigitValue(char c) {
  if (IsDigit(c)) return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

// The digits after "&H" or "&O", up to the first that does not fit the base. As the runtime's
// literals, a value that fits 16 bits is an Integer and one that fits 32 bits a Long, so
// "&HFFFF" reads -1 and "&H10000" 65536; a longer value overflows (6).
double RadixValue(std::string_view digits, int base) {
  std::uint64_t value = 0;
  for (char c : digits) {
    int digit = DigitValue(c);
    if (digit >= base) break;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu) throw HostError::Overflow();
  }
  if (value <= 0xFFFFu) return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// The decimal numeric prefix of a text without blanks: sign, digits, ".", fraction, an
// exponent with E or D.
double DecimalPrefix(std::string_view text) {
  std::string plain;
  size_t at = 0;
  auto more = [&] { return at < text.size(); };
  if (more() && (text[at] == '+' || text[at] == '-')) {
    if (text[at] == '-') plain += '-';
    ++at;
  }
  for (; more() && IsDigit(text[at]); ++at) plain += text[at];
  if (more() && text[at] == '.') {
    plain += '.';
    for (++at; more() && IsDigit(text[at]); ++at) plain += text[at];
  }
  if (more() && std::string_view("EeDd").find(text[at]) != std::string_view::npos) {
    size_t sign = at + 1;
    size_t first = sign < text.size() && (text[sign] == '+' || text[sign] == '-') ? sign + 1 : sign;
    if (first < text.size() && IsDigit(text[first])) {
      plain += 'e';
      plain += text.substr(sign, first - sign);
      for (at = first; more() && IsDigit(text[at]); ++at) plain += text[at];
    }
  }
  // Without a digit before the exponent nothing reads, and the value is 0.
  double value = 0;
  auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Too small reads 0; too big overflows as in the runtime.
    if (plain.find("e-") != std::string::npos) return 0;
    throw HostError::Overflow();
  }
  return value;
}

// A Boolean taking part in arithmetic is the number -1 or 0.
Variant Arithmetic(const Variant& value) {
  if (value.IsBoolean()) return value.AsBoolean() ? -1.0 : 0.0;
  return value;
}

}  // namespace

std::string TextOf(const Variant& value, const UserLocale& locale) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      return "";
    case Variant::Kind::Boolean:
      return value.AsBoolean() ? "True" : "False";
    case Variant::Kind::Number:
      return NumberText(value.AsNumber(), locale);
    case Variant::Kind::Date:
      return DateText(value.AsNumber(), locale);
    case Variant::Kind::Text:
      return value.AsText();
    case Variant::Kind::Error:
      break;
  }
  throw HostError::TypeMismatch();
}

double NumberOf(const Variant& value, const UserLocale& locale) {
  switch (value.GetKind()) {
    case Variant::Kind::Empty:
      return 0;
    case Variant::Kind::Boolean:
      return value.AsBoolean() ? -1 : 0;
    case Variant::Kind::Number:
    case Variant::Kind::Date:
      return value.AsNumber();
    case Variant::Kind::Text:
      if (std::optional<double> number = ReadNumber(value.AsText(), locale)) return *number;
      break;
    case Variant::Kind::Error:
      break;
  }
  throw HostError::TypeMismatch();
}

// Blanks are spaces, tabs and line feeds, skipped wherever they stand ("1 2" reads 12).
double Val(std::string_view text) {
  std::string packed;
  for (char c : text) {
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  }
  std::string_view rest(packed);
  std::string_view radix = rest.substr(0, 2);
  if (radix == "&H" || radix == "&h") return RadixValue(rest.substr(2), 16);
  if (radix == "&O" || radix == "&o") return RadixValue(rest.substr(2), 8);
  return DecimalPrefix(rest);
}

// Both empty stays empty, as the summing tools rely on; two texts join even when both read as
// numbers; a date on either side makes the sum a date.
Variant Add(const Variant& left, const Variant& right, const UserLocale& locale) {
  if (left.IsError() || right.IsError()) throw HostError::TypeMismatch();
  if (left.IsEmpty()) return Arithmetic(right);
  if (right.IsEmpty()) return Arithmetic(left);
  if (left.IsText() && right.IsText()) return left.AsText() + right.AsText();
  double sum = NumberOf(left, locale) + NumberOf(right, locale);
  if (!std::isfinite(sum)) throw HostError::Overflow();  // as the runtime's Double addition
  if (left.IsDate() || right.IsDate()) return Variant::Date(sum);
  return sum;
}

int CompareWithNumber(const Variant& value, double number, const UserLocale& locale) {
  double own = NumberOf(value, locale);
  if (own < number) return -1;
  return own > number ? 1 : 0;
}

}  // namespace tavrin
