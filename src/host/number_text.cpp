// The runtime's texts of numbers and dates, and its reading of a text as a number.

#include <charconv>
#include <chrono>
#include <cmath>
#include <string>

#include "host/characters.h"
#include "host/host_error.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

// The digits of a number rounded to 15 significant digits, trailing zeros removed, and the
// decimal exponent of the first digit: 1234.5 is {"12345", 3}.
struct Digits {
  std::string digits;
  int exponent = 0;
};

Digits SignificantDigits(double magnitude) {
  char buffer[40];
  // Scientific with 14 decimals: "1.23456789012346e+16", rounded from the exact binary value.
  auto end =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14)
          .ptr;
  std::string_view text(buffer, end - buffer);
  size_t e = text.find('e');
  Digits result;
  result.digits = std::string(1, text[0]) + std::string(text.substr(2, e - 2));
  std::string_view exponent = text.substr(e + 1);
  if (exponent.front() == '+') exponent.remove_prefix(1);
  std::from_chars(exponent.data(), exponent.data() + exponent.size(), result.exponent);
  while (result.digits.size() > 1 && result.digits.back() == '0') result.digits.pop_back();
  return result;
}

std::string FixedForm(const Digits& d, char decimalPoint) {
  if (d.exponent < 0) {
    return "0" + std::string(1, decimalPoint) + std::string(-d.exponent - 1, '0') + d.digits;
  }
  size_t whole = static_cast<size_t>(d.exponent) + 1;
  if (d.digits.size() <= whole) return d.digits + std::string(whole - d.digits.size(), '0');
  return d.digits.substr(0, whole) + decimalPoint + d.digits.substr(whole);
}

std::string ExponentForm(const Digits& d, char decimalPoint) {
  std::string text(1, d.digits[0]);
  if (d.digits.size() > 1) text += decimalPoint + d.digits.substr(1);
  text += d.exponent < 0 ? "E-" : "E+";
  int magnitude = std::abs(d.exponent);
  if (magnitude < 10) text += '0';
  return text + std::to_string(magnitude);
}

// The runtime's dates run from 100-01-01 to 9999-12-31.
constexpr double kFirstSerial = -657434.0;
constexpr double kSerialAfterLast = 2958466.0;
constexpr long long kSecondsPerDay = 86400;
// Serial 0 is 1899-12-30, which is 25569 days before 1970-01-01.
constexpr long long kSerialOfUnixEpoch = 25569;

std::string ShortDate(long long serialDay, const UserLocale& locale) {
  std::chrono::year_month_day date{
      std::chrono::sys_days{std::chrono::days{serialDay - kSerialOfUnixEpoch}}};
  std::string year = std::to_string(static_cast<int>(date.year()));
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  std::string month = std::to_string(static_cast<unsigned>(date.month()));
  std::string day = std::to_string(static_cast<unsigned>(date.day()));
  std::string sep(1, locale.dateSeparator);
  switch (locale.dateOrder) {
    case UserLocale::DateOrder::MonthDayYear:
      return month + sep + day + sep + year;
    case UserLocale::DateOrder::DayMonthYear:
      return day + sep + month + sep + year;
    case UserLocale::DateOrder::YearMonthDay:
      break;
  }
  return year + sep + month + sep + day;
}

std::string TimeText(long long seconds) {
  auto twoDigits = [](long long n) { return (n < 10 ? "0" : "") + std::to_string(n); };
  return std::to_string(seconds / 3600) + ":" + twoDigits(seconds / 60 % 60) + ":" +
         twoDigits(seconds % 60);
}

}  // namespace

// A non-finite number has no text: the runtime would have overflowed before making one.
std::string NumberText(double number, const UserLocale& locale) {
  if (!std::isfinite(number)) throw HostError::Overflow();
  // 0 (and -0, which is not below 0) has the digits "0" and prints as "0".
  Digits d = SignificantDigits(std::fabs(number));
  std::string text = d.exponent >= 15 || d.exponent <= -5 ? ExponentForm(d, locale.decimalPoint)
                                                          : FixedForm(d, locale.decimalPoint);
  return number < 0 ? "-" + text : text;
}

// The whole part of a serial is the day, counted towards zero; the fraction is the time of
// that day whatever the sign, so -1.25 is 1899-12-29 06:00:00. The time is rounded to the
// second. Day 0 prints only its time, "0:00:00" included, as the runtime does. A serial
// outside the runtime's dates is no date to it (the host hands such a cell's value over as a
// number, and shows the cell as "#######"): it prints as the number.
std::string DateText(double serial, const UserLocale& locale) {
  if (!(serial > kFirstSerial - 1 && serial < kSerialAfterLast)) return NumberText(serial, locale);
  long long day = static_cast<long long>(std::trunc(serial));
  long long seconds = std::llround(std::fabs(serial - static_cast<double>(day)) * kSecondsPerDay);
  if (seconds == kSecondsPerDay) {
    ++day;
    seconds = 0;
  }
  if (day >= static_cast<long long>(kSerialAfterLast)) return NumberText(serial, locale);
  if (day == 0) return TimeText(seconds);
  std::string text = ShortDate(day, locale);
  if (seconds != 0) text += " " + TimeText(seconds);
  return text;
}

// Thousands separators count only between two digits of the whole part ("1,234", "12,34");
// a separator at either end of the digits, doubled ("1,,2") or in the fraction is no number.
// Hexadecimal ("&H10") is not read here: the platform's number parsing does not take it.
// A number too big for a double is no number either.
std::optional<double> ReadNumber(std::string_view text, const UserLocale& locale) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  std::string plain;  // the number as from_chars reads it
  size_t at = 0;
  auto more = [&] { return at < text.size(); };
  auto next = [&](char c) { return more() && text[at] == c; };
  if (next('+') || next('-')) {
    if (text[at] == '-') plain += '-';
    ++at;
  }
  bool anyDigit = false;
  for (; more(); ++at) {
    if (IsDigit(text[at])) {
      plain += text[at];
      anyDigit = true;
    } else if (!(text[at] == locale.thousandsSeparator && anyDigit && at + 1 < text.size() &&
                 IsDigit(text[at + 1]))) {
      break;
    }
  }
  if (next(locale.decimalPoint)) {
    plain += '.';
    for (++at; more() && IsDigit(text[at]); ++at) plain += text[at];
  }
  // Without a digit, or with an "E" that no digit follows, the text is no number: from_chars
  // refuses it below.
  if (next('E') || next('e')) {
    plain += 'e';
    ++at;
    if (next('+') || next('-')) plain += text[at++];
    for (; more() && IsDigit(text[at]); ++at) plain += text[at];
  }
  if (more()) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return value;
}

}  // namespace tavrin
