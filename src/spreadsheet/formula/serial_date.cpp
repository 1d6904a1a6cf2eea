#include "spreadsheet/formula/serial_date.h"

#include <charconv>
#include <cmath>
#include <string>

#include "host/user_locale.h"
#include "host/variant_rules.h"

namespace tavrin {

namespace {

// Days from 1899-12-30 to a date of the proleptic Gregorian calendar.
long long DaysFromCivil(long long year, int month, int day) {
  year -= month <= 2;
  long long era = (year >= 0 ? year : year - 399) / 400;
  long long yearOfEra = year - era * 400;
  long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + 25569;
}

CivilDate CivilFromDays(long long days) {
  days -= 25569 - 719468;
  long long era = (days >= 0 ? days : days - 146096) / 146097;
  long long dayOfEra = days - era * 146097;
  long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  long long shifted = (5 * dayOfYear + 2) / 153;
  int day = static_cast<int>(dayOfYear - (153 * shifted + 2) / 5 + 1);
  int month = static_cast<int>(shifted < 10 ? shifted + 3 : shifted - 9);
  return {static_cast<int>(yearOfEra + era * 400 + (month <= 2)), month, day};
}

// The serial of the first of a month: days before 1900-03-01 count one less, for the host
// counts the 1900-02-29 that never was.
long long SerialOfFirst(long long year, int month) {
  long long days = DaysFromCivil(year, month, 1);
  return days < 61 ? days - 1 : days;
}

// Reads digits at `at`: their value, and how many there were.
int Digits(std::string_view text, size_t& at, long& value) {
  int count = 0;
  value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9' && count < 9) {
    value = value * 10 + (text[at++] - '0');
    ++count;
  }
  return count;
}

bool Eat(std::string_view text, size_t& at, std::string_view what) {
  if (text.substr(at).starts_with(what)) {
    at += what.size();
    return true;
  }
  return false;
}

void SkipBlanks(std::string_view text, size_t& at) {
  while (at < text.size() && text[at] == ' ') ++at;
}

// "2024-1-5", "2024/1/5" or "2024年1月5日" from `at`.
std::optional<double> ReadDate(std::string_view text, size_t& at) {
  size_t start = at;
  long year = 0, month = 0, day = 0;
  if (Digits(text, at, year) != 4) return at = start, std::nullopt;
  bool chinese = Eat(text, at, "年");
  char separator = chinese || at >= text.size() ? '\0' : text[at];
  if (!chinese && separator != '-' && separator != '/') return at = start, std::nullopt;
  if (!chinese) ++at;
  if (Digits(text, at, month) == 0 || month < 1 || month > 12) return at = start, std::nullopt;
  if (chinese ? !Eat(text, at, "月") : (at >= text.size() || text[at++] != separator))
    return at = start, std::nullopt;
  if (Digits(text, at, day) == 0 || day < 1 || day > DaysInMonth(year, month))
    return at = start, std::nullopt;
  if (chinese) Eat(text, at, "日");
  return SerialOf(static_cast<int>(year), static_cast<int>(month), static_cast<int>(day));
}

// "13:05", "13:05:30.5", "1:05 PM" from `at`, as a fraction of a day.
std::optional<double> ReadTime(std::string_view text, size_t& at) {
  size_t start = at;
  long hour = 0, minute = 0, second = 0;
  double fraction = 0;
  if (Digits(text, at, hour) == 0 || !Eat(text, at, ":")) return at = start, std::nullopt;
  if (Digits(text, at, minute) == 0 || minute > 59) return at = start, std::nullopt;
  if (Eat(text, at, ":")) {
    if (Digits(text, at, second) == 0 || second > 59) return at = start, std::nullopt;
    if (Eat(text, at, ".")) {
      double scale = 0.1;
      while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
        fraction += (text[at++] - '0') * scale;
        scale /= 10;
      }
    }
  }
  size_t beforeMarker = at;
  SkipBlanks(text, at);
  std::string marker;
  for (size_t i = at; i < text.size() && i < at + 2; ++i)
    marker += static_cast<char>(text[i] >= 'a' && text[i] <= 'z' ? text[i] - 'a' + 'A' : text[i]);
  if (marker == "AM" || marker == "PM") {
    if (hour < 1 || hour > 12) return at = start, std::nullopt;
    hour = hour % 12 + (marker == "PM" ? 12 : 0);
    at += 2;
  } else {
    at = beforeMarker;
    if (hour > 9999) return at = start, std::nullopt;
  }
  return (hour * 3600.0 + minute * 60.0 + second + fraction) / 86400;
}

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<double> SerialOf(int year, int month, int day) {
  long long y = year + static_cast<long long>(std::floor((month - 1) / 12.0));
  int m = ((month - 1) % 12 + 12) % 12 + 1;
  double serial = static_cast<double>(SerialOfFirst(y, m)) + day - 1;
  if (serial < 0 || serial > kLastSerial) return std::nullopt;
  return serial;
}

CivilDate DateOf(double serial) {
  long long days = static_cast<long long>(std::floor(serial));
  if (days == 0) return {1900, 1, 0};
  if (days == 60) return {1900, 2, 29};
  return CivilFromDays(days < 60 ? days + 1 : days);
}

int SecondsOfDay(double serial) {
  double seconds = std::round((serial - std::floor(serial)) * 86400);
  return static_cast<int>(seconds) % 86400;
}

namespace {

// A whole number and a fraction after one blank, as the host reads a typed "1 1/2"; a
// fraction alone ("1/2") is a date.
std::optional<double> ReadMixedFraction(std::string_view text) {
  long long whole = 0;
  int numerator = 0, denominator = 0;
  const char* end = text.data() + text.size();
  auto [afterWhole, e1] = std::from_chars(text.data(), end, whole);
  if (e1 != std::errc() || afterWhole == end || *afterWhole != ' ') return std::nullopt;
  auto [afterNumerator, e2] = std::from_chars(afterWhole + 1, end, numerator);
  if (e2 != std::errc() || afterNumerator == end || *afterNumerator != '/') return std::nullopt;
  auto [afterDenominator, e3] = std::from_chars(afterNumerator + 1, end, denominator);
  if (e3 != std::errc() || afterDenominator != end || denominator == 0 || whole < 0 ||
      numerator < 0)
    return std::nullopt;
  return static_cast<double>(whole) + static_cast<double>(numerator) / denominator;
}

}  // namespace

std::optional<double> ReadValueText(std::string_view text) {
  size_t at = text.find_first_not_of(' ');
  // Every such text starts with a digit, or ends with "%" (a percentage may start with a sign).
  if (at == std::string_view::npos) return std::nullopt;
  text.remove_suffix(text.size() - 1 - text.find_last_not_of(' '));
  bool digit = text[at] >= '0' && text[at] <= '9';
  if (text.back() == '%') {
    std::optional<double> number = ReadNumber(text.substr(0, text.size() - 1), UserLocale{});
    if (number) return *number / 100;
    return std::nullopt;
  }
  if (!digit) return std::nullopt;
  if (std::optional<double> fraction = ReadMixedFraction(text.substr(at))) return fraction;
  // A date, a time, or a date and a time after blanks (a date's day takes all its digits).
  std::optional<double> date = ReadDate(text, at);
  if (date) SkipBlanks(text, at);
  std::optional<double> time = ReadTime(text, at);
  if (at != text.size() || (!date && !time)) return std::nullopt;
  return date.value_or(0) + time.value_or(0);
}

}  // namespace tavrin
