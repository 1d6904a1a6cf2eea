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

}  // namespace

Variant FormatDate(const FormatSection& section, double serial) {
  if (serial < 0 || serial >= kLastSerial + 1) return Variant(ErrorValue::Value);
  // The fraction of a second shown decides how far the time is rounded.
  int decimals = 0;
  bool twelveHour = false;
  for (const FormatToken& token : section.tokens) {
    if (token.kind != FormatToken::Kind::Date) continue;
    if (token.text[0] == '.')
      // At most thousandths of a second, as the host shows them.
      decimals = std::min(3, std::max(decimals, static_cast<int>(token.text.size()) - 1));
    if (token.text[0] == 'a' || token.text[0] == 'A' || token.text == "上午/下午")
      twelveHour = true;
  }
  double unitsPerDay = 86400 * std::pow(10.0, decimals);
  double total = std::round(serial * unitsPerDay);
  double day = std::floor(total / unitsPerDay);
  double inDay = total - day * unitsPerDay;
  long long seconds = static_cast<long long>(std::floor(inDay / std::pow(10.0, decimals)));
  long long fraction = static_cast<long long>(inDay - seconds * std::pow(10.0, decimals));
  CivilDate date = DateOf(day);
  int hour = static_cast<int>(seconds / 3600), minute = static_cast<int>(seconds / 60 % 60);
  int second = static_cast<int>(seconds % 60);
  int weekday = static_cast<int>(std::fmod(std::fmod(day - 1, 7) + 7, 7));  // 0 Sunday
  // "m" is minutes right after hours or right before seconds.
  std::vector<const FormatToken*> fields;
  for (const FormatToken& token : section.tokens) {
    if (token.kind == FormatToken::Kind::Date) fields.push_back(&token);
  }
  auto isMinute = [&](size_t f) {
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
  };
  std::string out;
  size_t f = 0;
  for (const FormatToken& token : section.tokens) {
    if (token.kind != FormatToken::Kind::Date) {
      out += token.text;
      continue;
    }
    const std::string& t = token.text;
    size_t n = t.size();
    switch (t[0]) {
      case 'y':
        out += n <= 2 ? Padded(date.year % 100, 2) : Padded(date.year, 4);
        break;
      case 'm':
        if (n <= 2 && isMinute(f)) {
          out += n == 1 ? std::to_string(minute) : Padded(minute, 2);
        } else if (n <= 2) {
          out += n == 1 ? std::to_string(date.month) : Padded(date.month, 2);
        } else {
          std::string name = kMonths[date.month - 1];
          out += n == 3 ? name.substr(0, 3) : n == 5 ? name.substr(0, 1) : name;
        }
        break;
      case 'd':
        if (n <= 2) {
          out += n == 1 ? std::to_string(date.day) : Padded(date.day, 2);
        } else {
          std::string name = kDays[weekday];
          out += n == 3 ? name.substr(0, 3) : name;
        }
        break;
      case 'a':
        out += n == 3 ? kChineseDays[weekday] : std::string("星期") + kChineseDays[weekday];
        break;
      case 'h': {
        int shown = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
        out += n == 1 ? std::to_string(shown) : Padded(shown, 2);
        break;
      }
      case 's':
        out += n == 1 ? std::to_string(second) : Padded(second, 2);
        break;
      case '.':
        out += "." + Padded(fraction, static_cast<size_t>(decimals)).substr(0, n - 1);
        break;
      case '[': {
        double whole = day * 86400 + static_cast<double>(seconds);
        double divisor = t[1] == 'h' ? 3600 : t[1] == 'm' ? 60 : 1;
        out += Padded(static_cast<long long>(std::floor(whole / divisor)), n - 2);
        break;
      }
      default:
        if (t == "上午/下午") {
          out += hour < 12 ? "上午" : "下午";
        } else {
          bool upper = t[0] == 'A' || t[0] == 'P';
          std::string marker = n == 5 ? (hour < 12 ? "AM" : "PM") : (hour < 12 ? "A" : "P");
          if (!upper) {
            for (char& c : marker) c = LowerAscii(c);
          }
          out += marker;
        }
    }
    ++f;
  }
  return Variant(out);
}

}  // namespace tavrin
