#include "spreadsheet/formula/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "host/variant_rules.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

// One part of a section: a literal text, a digit place, or a date or time field.
struct Token {
  enum class Kind { Literal, Digit, Point, Comma, Percent, Exponent, Date, Text, General };
  Kind kind;
  std::string text;  // the literal, the placeholder ("0", "#", "?"), the field ("yyyy", "[h]")
};

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != Lower(prefix[i])) return false;
  }
  return true;
}

// The sections of a code, split at ";" outside quotes, escapes and brackets.
std::vector<std::string_view> Sections(std::string_view code) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (quoted) {
      continue;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;
    } else if (c == '[') {
      size_t close = code.find(']', i);
      i = close == std::string_view::npos ? code.size() : close;
    } else if (c == ';') {
      sections.push_back(code.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(code.substr(start));
  return sections;
}

// A section taken apart. Whether it shows a date or time, and its digit places.
struct Section {
  std::vector<Token> tokens;
  bool date = false;
  bool general = false;
  bool text = false;  // holds "@"
};

Section Parse(std::string_view code) {
  Section section;
  std::vector<Token>& tokens = section.tokens;
  auto literal = [&](std::string_view text) {
    if (!tokens.empty() && tokens.back().kind == Token::Kind::Literal) {
      tokens.back().text += text;
    } else {
      tokens.push_back({Token::Kind::Literal, std::string(text)});
    }
  };
  for (size_t i = 0; i < code.size();) {
    char c = code[i];
    char lower = Lower(c);
    if (c == '"') {
      size_t close = code.find('"', i + 1);
      if (close == std::string_view::npos) close = code.size();
      literal(code.substr(i + 1, close - i - 1));
      i = close + 1;
    } else if (c == '\\' && i + 1 < code.size()) {
      // The escaped character, all of its UTF-8 bytes.
      size_t end = i + 2;
      while (end < code.size() && (static_cast<unsigned char>(code[end]) & 0xC0) == 0x80) ++end;
      literal(code.substr(i + 1, end - i - 1));
      i = end;
    } else if (c == '_' && i + 1 < code.size()) {
      literal(" ");
      i += 2;
    } else if (c == '*' && i + 1 < code.size()) {
      i += 2;
    } else if (c == '[') {
      size_t close = code.find(']', i);
      if (close == std::string_view::npos) close = code.size();
      std::string inside(code.substr(i + 1, close - i - 1));
      for (char& ch : inside) ch = Lower(ch);
      if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string::npos &&
          (inside[0] == 'h' || inside[0] == 'm' || inside[0] == 's')) {
        tokens.push_back({Token::Kind::Date, "[" + inside + "]"});
        section.date = true;
      }
      i = close + 1;
    } else if (StartsWithNoCase(code.substr(i), "general")) {
      tokens.push_back({Token::Kind::General, ""});
      section.general = true;
      i += 7;
    } else if (code.substr(i).starts_with("G/通用格式")) {
      tokens.push_back({Token::Kind::General, ""});
      section.general = true;
      i += std::string_view("G/通用格式").size();
    } else if (c == '0' || c == '#' || c == '?') {
      tokens.push_back({Token::Kind::Digit, std::string(1, c)});
      ++i;
    } else if (c == '.' && !section.date) {
      tokens.push_back({Token::Kind::Point, "."});
      ++i;
    } else if (c == ',') {
      tokens.push_back({Token::Kind::Comma, ","});  // grouping, scaling or text: FormatNumber
      ++i;
    } else if (c == '%') {
      tokens.push_back({Token::Kind::Percent, "%"});
      ++i;
    } else if (lower == 'e' && i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-')) {
      tokens.push_back({Token::Kind::Exponent, std::string(code.substr(i + 1, 1))});
      i += 2;
    } else if (c == '@') {
      tokens.push_back({Token::Kind::Text, "@"});
      section.text = true;
      ++i;
    } else if (StartsWithNoCase(code.substr(i), "am/pm") ||
               StartsWithNoCase(code.substr(i), "a/p")) {
      size_t length = StartsWithNoCase(code.substr(i), "am/pm") ? 5 : 3;
      tokens.push_back({Token::Kind::Date, std::string(code.substr(i, length))});
      section.date = true;
      i += length;
    } else if (code.substr(i).starts_with("上午/下午")) {
      tokens.push_back({Token::Kind::Date, "上午/下午"});
      section.date = true;
      i += std::string_view("上午/下午").size();
    } else if (lower == 'y' || lower == 'm' || lower == 'd' || lower == 'h' || lower == 's' ||
               lower == 'a') {
      size_t end = i;
      while (end < code.size() && Lower(code[end]) == lower) ++end;
      if (lower == 'a' && end - i < 3) {
        literal(code.substr(i, end - i));
      } else {
        std::string field(end - i, lower);
        tokens.push_back({Token::Kind::Date, field});
        section.date = true;
      }
      i = end;
    } else if (c == '.' && section.date) {
      // Fractions of a second: ".0", ".00", ".000" after seconds.
      size_t end = i + 1;
      while (end < code.size() && code[end] == '0') ++end;
      if (end > i + 1) {
        tokens.push_back({Token::Kind::Date, std::string(code.substr(i, end - i))});
      } else {
        literal(".");
      }
      i = end;
    } else {
      size_t end = i + 1;
      while (end < code.size() && (static_cast<unsigned char>(code[end]) & 0xC0) == 0x80) ++end;
      literal(code.substr(i, end - i));
      i = end;
    }
  }
  return section;
}

std::string Padded(long long number, size_t width) {
  std::string text = std::to_string(number);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

const char* const kMonths[] = {"January",   "February", "March",    "April",
                               "May",       "June",     "July",     "August",
                               "September", "October",  "November", "December"};
const char* const kDays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                             "Thursday", "Friday", "Saturday"};
const char* const kChineseDays[] = {"日", "一", "二", "三", "四", "五", "六"};

// A date and time shown by the section's fields.
Variant FormatDate(const Section& section, double serial) {
  if (serial < 0 || serial >= kLastSerial + 1) return Variant(ErrorValue::Value);
  // The fraction of a second shown decides how far the time is rounded.
  int decimals = 0;
  bool twelveHour = false;
  for (const Token& token : section.tokens) {
    if (token.kind != Token::Kind::Date) continue;
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
  std::vector<const Token*> fields;
  for (const Token& token : section.tokens) {
    if (token.kind == Token::Kind::Date) fields.push_back(&token);
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
  for (const Token& token : section.tokens) {
    if (token.kind != Token::Kind::Date) {
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
            for (char& c : marker) c = Lower(c);
          }
          out += marker;
        }
    }
    ++f;
  }
  return Variant(out);
}

// A number shown by the section's digit places.
Variant FormatNumber(const Section& section, double number, bool minus) {
  std::vector<Token> tokens = section.tokens;
  // Where the digits end, before the point (or the exponent, or the end).
  size_t point = tokens.size(), exponent = tokens.size();
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind == Token::Kind::Point && point == tokens.size()) point = i;
    if (tokens[i].kind == Token::Kind::Exponent && exponent == tokens.size()) exponent = i;
  }
  size_t wholeEnd = std::min(point, exponent);
  size_t lastWholeDigit = tokens.size(), firstWholeDigit = tokens.size();
  for (size_t i = 0; i < wholeEnd; ++i) {
    if (tokens[i].kind != Token::Kind::Digit) continue;
    if (firstWholeDigit == tokens.size()) firstWholeDigit = i;
    lastWholeDigit = i;
  }
  // A comma among the whole part's digit places groups thousands; commas right after its last
  // digit place divide by a thousand each; any other is text.
  bool grouping = false;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind != Token::Kind::Comma) continue;
    bool hasDigits = lastWholeDigit != tokens.size();
    bool scaling = hasDigits && i > lastWholeDigit && i < wholeEnd;
    for (size_t j = lastWholeDigit + 1; scaling && j < i; ++j)
      scaling = tokens[j].kind == Token::Kind::Comma;
    if (scaling) {
      number /= 1000;
      tokens[i].text.clear();
    } else if (hasDigits && i > firstWholeDigit && i < lastWholeDigit) {
      grouping = true;
      tokens[i].text.clear();
    }
  }
  for (const Token& token : tokens) {
    if (token.kind == Token::Kind::Percent) number *= 100;
  }
  std::string wholePlaces, fractionPlaces, exponentPlaces;
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (tokens[i].kind != Token::Kind::Digit) continue;
    (i < wholeEnd ? wholePlaces : i < exponent ? fractionPlaces : exponentPlaces) += tokens[i].text;
  }
  int power = 0;
  if (exponent < tokens.size() && number != 0) {
    int wholeDigits = std::max<int>(1, static_cast<int>(wholePlaces.size()));
    power = static_cast<int>(std::floor(std::log10(std::fabs(number)))) - (wholeDigits - 1);
    number /= std::pow(10.0, power);
    double rounded =
        RoundDigits(number, static_cast<double>(fractionPlaces.size()), Rounding::Nearest);
    if (std::fabs(rounded) >= std::pow(10.0, wholeDigits)) {
      power += 1;
      number /= 10;
    }
  }
  number =
      RoundDigits(std::fabs(number), static_cast<double>(fractionPlaces.size()), Rounding::Nearest);
  // The digits of the whole part and of the fraction.
  std::string digits = NumberText(std::floor(number), UserLocale{});
  if (digits.find_first_not_of("0123456789") != std::string::npos) {
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::floor(number));
    digits = buffer;
  }
  if (digits == "0") digits.clear();
  std::string fraction;
  if (!fractionPlaces.empty()) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", static_cast<int>(fractionPlaces.size()),
                  number - std::floor(number));
    fraction = std::string(buffer).substr(2);
    if (fraction.size() > fractionPlaces.size()) fraction.resize(fractionPlaces.size());
    // Trailing zeros in "#" places go, in "?" places become spaces.
    for (size_t i = fraction.size(); i-- > 0 && fraction[i] == '0' && fractionPlaces[i] != '0';)
      fraction[i] = fractionPlaces[i] == '?' ? ' ' : '\0';
    fraction.erase(std::find(fraction.begin(), fraction.end(), '\0'), fraction.end());
  }
  // Forced places of the whole part pad the digits.
  size_t forced =
      wholePlaces.size() - std::min(wholePlaces.size(), wholePlaces.find_first_of("0?"));
  if (wholePlaces.find_first_of("0?") == std::string::npos) forced = 0;
  std::string padded = digits;
  if (padded.size() < forced) padded.insert(0, forced - padded.size(), '0');
  for (size_t i = 0; i + digits.size() < padded.size(); ++i) {
    size_t place = wholePlaces.size() - padded.size() + i;
    if (place < wholePlaces.size() && wholePlaces[place] == '?') padded[i] = ' ';
  }
  if (grouping) {
    std::string grouped;
    for (size_t i = 0; i < padded.size(); ++i) {
      if (i > 0 && (padded.size() - i) % 3 == 0 && padded[i - 1] != ' ') grouped += ',';
      grouped += padded[i];
    }
    padded = grouped;
  }
  std::string out = minus ? "-" : "";
  size_t wholeSeen = 0, fractionSeen = 0, exponentSeen = 0;
  std::string exponentDigits = Padded(std::abs(power), exponentPlaces.size());
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    switch (token.kind) {
      case Token::Kind::Digit:
        if (i < wholeEnd) {
          // The whole part goes at the first place; the others take nothing more.
          if (wholeSeen++ == 0) out += padded;
        } else if (i < exponent) {
          if (fractionSeen < fraction.size()) out += fraction[fractionSeen];
          ++fractionSeen;
        } else {
          if (exponentSeen++ == 0) out += exponentDigits;
        }
        break;
      case Token::Kind::Point:
        out += '.';
        break;
      case Token::Kind::Exponent:
        out += 'E';
        if (power < 0)
          out += '-';
        else if (token.text == "+")
          out += '+';
        break;
      case Token::Kind::Text:
        break;
      default:
        out += token.text;
    }
  }
  if (wholePlaces.empty() && !digits.empty()) {
    // No place for the whole part: it goes before the point.
    size_t at = out.find('.');
    out.insert(at == std::string::npos ? out.size() : at, digits);
  }
  return Variant(out);
}

}  // namespace

Variant FormatText(const Variant& value, std::string_view code) {
  if (value.IsError()) return value;
  if (value.IsBoolean()) return Variant(value.AsBoolean() ? "TRUE" : "FALSE");
  std::vector<std::string_view> sections = Sections(code);
  std::optional<double> number;
  if (value.IsNumber() || value.IsDate()) number = value.AsNumber();
  if (value.IsEmpty()) number = 0;
  if (value.IsText()) {
    Variant read = ToNumber(value);
    if (!read.IsError()) number = read.AsNumber();
  }
  if (!number) {
    // A text: the fourth section, or a single one holding "@".
    std::string_view textCode;
    if (sections.size() >= 4) {
      textCode = sections[3];
    } else if (sections.size() == 1 && Parse(sections[0]).text) {
      textCode = sections[0];
    } else {
      return value;
    }
    std::string out;
    for (const Token& token : Parse(textCode).tokens)
      out += token.kind == Token::Kind::Text ? value.AsText() : token.text;
    return TextResult(std::move(out));
  }
  double x = *number;
  size_t which = 0;
  bool minus = false;
  if (x < 0 && sections.size() >= 2) {
    which = 1;
    x = -x;
  } else if (x == 0 && sections.size() >= 3) {
    which = 2;
  } else if (x < 0) {
    minus = true;
    x = -x;
  }
  Section section = Parse(sections[which]);
  if (section.general) {
    std::string out = minus ? "-" : "";
    for (const Token& token : section.tokens)
      out += token.kind == Token::Kind::General ? NumberText(x, UserLocale{}) : token.text;
    return Variant(out);
  }
  if (section.date) {
    if (minus) return Variant(ErrorValue::Value);
    return FormatDate(section, x);
  }
  return FormatNumber(section, x, minus);
}

}  // namespace tavrin
