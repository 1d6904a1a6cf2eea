#include "spreadsheet/formula/format_section.h"

#include <cmath>
#include <string>
#include <vector>

#include "spreadsheet/formula/serial_date.h"

namespace tavrin {

namespace {

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
const char* const kChineseDays[] = {"日", "一", "二", "三", "四", "五", "六"};

// The parts of a serial a date format shows, rounded to the fraction of a second it shows.
struct DateParts {
  CivilDate date;
  double day = 0;         // the serial's whole days
  long long seconds = 0;  // into the day
  long long fraction = 0;
  int decimals = 0;  // of a second, shown
  int hour = 0, minute = 0, second = 0;
  int weekday = 0;  // 0 Sunday
  bool twelveHour = false;
};

DateParts PartsOf(const FormatSection& section, double serial) {
  DateParts parts;
  for (const FormatToken& token : section.tokens) {
    if (token.kind != FormatToken::Kind::Date) continue;
    if (token.text[0] == '.')
      // At most thousandths of a second, as the host shows them.
      parts.decimals =
          std::min(3, std::max(parts.decimals, static_cast<int>(token.text.size()) - 1));
    // "AM/PM", "a/p" or "上午/下午" (an "aaaa" weekday is none).
    if (token.text.find('/') != std::string::npos) parts.twelveHour = true;
  }
  double unit = std::pow(10.0, parts.decimals);
  double unitsPerDay = 86400 * unit;
  double total = std::round(serial * unitsPerDay);
  parts.day = std::floor(total / unitsPerDay);
  double inDay = total - parts.day * unitsPerDay;
  parts.seconds = static_cast<long long>(std::floor(inDay / unit));
  parts.fraction = static_cast<long long>(inDay - parts.seconds * unit);
  parts.date = DateOf(parts.day);
  parts.hour = static_cast<int>(parts.seconds / 3600);
  parts.minute = static_cast<int>(parts.seconds / 60 % 60);
  parts.second = static_cast<int>(parts.seconds % 60);
  parts.weekday = static_cast<int>(std::fmod(std::fmod(parts.day - 1, 7) + 7, 7));
  return parts;
}

// "m" is minutes right after hours or right before seconds, fractions of a second between.
bool IsMinute(const std::vector<const FormatToken*>& fields, size_t f) {
  for (size_t p = f; p-- > 0;) {
    if (fields[p]->text[0] == '.') continue;
    if (fields[p]->text[0] == 'h' || fields[p]->text.starts_with("[h")) return true;
    break;
  }
  for (size_t n = f + 1; n < fields.size(); ++n) {
    if (fields[n]->text[0] == '.') continue;
    return fields[n]->text[0] == 's' || fields[n]->text.starts_with("[s");
  }
  return false;
}

// "上午/下午", "AM/PM" or "A/P" in the letter case of the code.
std::string Marker(const std::string& code, int hour) {
  if (code == "上午/下午") return hour < 12 ? "上午" : "下午";
  std::string marker = code.size() == 5 ? (hour < 12 ? "AM" : "PM") : (hour < 12 ? "A" : "P");
  if (code[0] != 'A' && code[0] != 'P') {
    for (char& c : marker) c = LowerAscii(c);
  }
  return marker;
}

// The months by name or number, days by name or number, the year.
std::string CalendarField(const std::string& code, const DateParts& parts) {
  size_t n = code.size();
  const CivilDate& date = parts.date;
  switch (code[0]) {
    case 'y':
      return n <= 2 ? Padded(date.year % 100, 2) : Padded(date.year, 4);
    case 'm': {
      if (n <= 2) return n == 1 ? std::to_string(date.month) : Padded(date.month, 2);
      std::string name = kMonths[date.month - 1];
      return n == 3 ? name.substr(0, 3) : n == 5 ? name.substr(0, 1) : name;
    }
    case 'd': {
      if (n <= 2) return n == 1 ? std::to_string(date.day) : Padded(date.day, 2);
      std::string name = kDays[parts.weekday];
      return n == 3 ? name.substr(0, 3) : name;
    }
    default:  // 'a': the Chinese day of the week
      return n == 3 ? kChineseDays[parts.weekday]
                    : std::string("星期") + kChineseDays[parts.weekday];
  }
}

// One field of a date format code: a time field, or a calendar field.
std::string DateField(const std::string& code, const DateParts& parts, bool minute) {
  size_t n = code.size();
  // "AM/PM", "am/pm", "A/P", "a/p" or "上午/下午"; an "a" field with no "/" is a weekday.
  if (code.find('/') != std::string::npos) return Marker(code, parts.hour);
  switch (code[0]) {
    case 'm':
      if (n <= 2 && minute) return n == 1 ? std::to_string(parts.minute) : Padded(parts.minute, 2);
      return CalendarField(code, parts);
    case 'h': {
      int hour = parts.hour;
      int shown = parts.twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
      return n == 1 ? std::to_string(shown) : Padded(shown, 2);
    }
    case 's':
      return n == 1 ? std::to_string(parts.second) : Padded(parts.second, 2);
    case '.':
      return "." + Padded(parts.fraction, static_cast<size_t>(parts.decimals)).substr(0, n - 1);
    case '[': {
      double whole = parts.day * 86400 + static_cast<double>(parts.seconds);
      double divisor = code[1] == 'h' ? 3600 : code[1] == 'm' ? 60 : 1;
      return Padded(static_cast<long long>(std::floor(whole / divisor)), n - 2);
    }
    default:  // "y", "d" and "a" fields
      return CalendarField(code, parts);
  }
}

}  // namespace

Variant FormatDate(const FormatSection& section, double serial) {
  if (serial < 0 || serial >= kLastSerial + 1) return Variant(ErrorValue::Value);
  DateParts parts = PartsOf(section, serial);
  std::vector<const FormatToken*> fields;
  for (const FormatToken& token : section.tokens) {
    if (token.kind == FormatToken::Kind::Date) fields.push_back(&token);
  }
  std::string out;
  size_t f = 0;
  for (const FormatToken& token : section.tokens) {
    if (token.kind != FormatToken::Kind::Date) {
      out += token.text;
      continue;
    }
    out += DateField(token.text, parts, IsMinute(fields, f));
    ++f;
  }
  return Variant(out);
}

}  // namespace tavrin
