#include "spreadsheet/formula/format_section.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace tavrin {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (LowerAscii(text[i]) != LowerAscii(prefix[i])) return false;
  }
  return true;
}

// A condition's text inside brackets ("<10", ">=1e3"), nothing when it is none.
std::optional<FormatCondition> ConditionOf(const std::string& inside) {
  size_t length = std::min(inside.find_first_not_of("<>="), inside.size());
  std::string op = inside.substr(0, length);
  if (op != "<" && op != "<=" && op != ">" && op != ">=" && op != "=" && op != "<>")
    return std::nullopt;
  char* end = nullptr;
  double value = std::strtod(inside.c_str() + length, &end);
  if (end == inside.c_str() + length || *end != '\0') return std::nullopt;
  return FormatCondition{op, value};
}

}  // namespace

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool FormatCondition::Holds(double number) const {
  if (op == "<") return number < value;
  if (op == "<=") return number <= value;
  if (op == ">") return number > value;
  if (op == ">=") return number >= value;
  if (op == "=") return number == value;
  return number != value;
}

std::vector<std::string_view> FormatSections(std::string_view code) {
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

namespace {

using TokenKind = FormatToken::Kind;

// Reads a section's code a part at a time; each Read... takes the part at the position, or
// nothing (false).
class SectionReader {
 public:
  explicit SectionReader(std::string_view code) : code_(code) {}

  FormatSection Read() {
    while (i_ < code_.size()) {
      if (!ReadLiteral() && !ReadBracket() && !ReadNumberPart() && !ReadDatePart()) {
        size_t end = CharacterEnd(i_ + 1);
        Literal(code_.substr(i_, end - i_));
        i_ = end;
      }
    }
    return std::move(section_);
  }

 private:
  size_t CharacterEnd(size_t end) const {
    while (end < code_.size() && (static_cast<unsigned char>(code_[end]) & 0xC0) == 0x80) ++end;
    return end;
  }
  void Literal(std::string_view text) {
    section_.tokens.push_back({FormatToken::Kind::Literal, std::string(text)});
  }
  void Add(FormatToken::Kind kind, std::string text, size_t length) {
    section_.tokens.push_back({kind, std::move(text)});
    i_ += length;
  }

  // Quoted texts, "\" escapes, "_" spaces and "*" fills (shown as nothing).
  bool ReadLiteral() {
    char c = code_[i_];
    if (c == '"') {
      size_t close = std::min(code_.find('"', i_ + 1), code_.size());
      Literal(code_.substr(i_ + 1, close - i_ - 1));
      i_ = close + 1;
    } else if (c == '\\' && i_ + 1 < code_.size()) {
      size_t end = CharacterEnd(i_ + 2);
      Literal(code_.substr(i_ + 1, end - i_ - 1));
      i_ = end;
    } else if ((c == '_' || c == '*') && i_ + 1 < code_.size()) {
      if (c == '_') Literal(" ");
      i_ += 2;
    } else {
      return false;
    }
    return true;
  }

  // A condition, an elapsed time field ("[h]"), or a colour or locale, passed over.
  bool ReadBracket() {
    if (code_[i_] != '[') return false;
    size_t close = std::min(code_.find(']', i_), code_.size());
    std::string inside(code_.substr(i_ + 1, close - i_ - 1));
    for (char& ch : inside) ch = LowerAscii(ch);
    if (!section_.condition) section_.condition = ConditionOf(inside);
    if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string::npos &&
        (inside[0] == 'h' || inside[0] == 'm' || inside[0] == 's')) {
      section_.tokens.push_back({FormatToken::Kind::Date, "[" + inside + "]"});
      section_.date = true;
    }
    i_ = close + 1;
    return true;
  }

  bool ReadNumberPart() {
    std::string_view rest = code_.substr(i_);
    char c = code_[i_];
    const std::vector<FormatToken>& tokens = section_.tokens;
    if (StartsWithNoCase(rest, "general") || rest.starts_with("G/通用格式")) {
      section_.general = true;
      Add(TokenKind::General, "", rest[0] == 'G' && rest[1] == '/' ? std::strlen("G/通用格式") : 7);
    } else if (c == '0' || c == '#' || c == '?') {
      Add(TokenKind::Digit, std::string(1, c), 1);
    } else if (c == '.' && !section_.date) {
      Add(TokenKind::Point, ".", 1);
    } else if (c == '/' && !section_.date && !tokens.empty() &&
               tokens.back().kind == TokenKind::Digit) {
      Add(TokenKind::Slash, "/", 1);
      size_t end = code_.find_first_not_of("0123456789", i_);
      end = std::min(end, code_.size());
      if (end > i_) Add(TokenKind::Denominator, std::string(code_.substr(i_, end - i_)), end - i_);
    } else if (c == ',') {
      Add(TokenKind::Comma, ",", 1);  // grouping, scaling or text: FormatNumber tells
    } else if (c == '%') {
      Add(TokenKind::Percent, "%", 1);
    } else if (LowerAscii(c) == 'e' && rest.size() > 1 && (rest[1] == '+' || rest[1] == '-')) {
      Add(TokenKind::Exponent, std::string(1, rest[1]), 2);
    } else if (c == '@') {
      section_.text = true;
      Add(TokenKind::Text, "@", 1);
    } else {
      return false;
    }
    return true;
  }

  bool ReadDatePart() {
    std::string_view rest = code_.substr(i_);
    char lower = LowerAscii(code_[i_]);
    size_t length = StartsWithNoCase(rest, "am/pm") ? 5
                    : StartsWithNoCase(rest, "a/p") ? 3
                    : rest.starts_with("上午/下午") ? std::strlen("上午/下午")
                                                    : 0;
    if (length > 0) {
      section_.date = true;
      Add(FormatToken::Kind::Date, std::string(rest.substr(0, length)), length);
    } else if (std::string_view("ymdhsa").find(lower) != std::string_view::npos) {
      size_t end = i_;
      while (end < code_.size() && LowerAscii(code_[end]) == lower) ++end;
      if (lower == 'a' && end - i_ < 3) {
        Literal(code_.substr(i_, end - i_));
        i_ = end;
        return true;
      }
      section_.date = true;
      Add(FormatToken::Kind::Date, std::string(end - i_, lower), end - i_);
    } else if (code_[i_] == '.' && section_.date && rest.size() > 1 && rest[1] == '0') {
      // Fractions of a second: ".0", ".00", ".000" after seconds.
      size_t end = std::min(code_.find_first_not_of('0', i_ + 1), code_.size());
      Add(FormatToken::Kind::Date, std::string(code_.substr(i_, end - i_)), end - i_);
    } else {
      return false;
    }
    return true;
  }

  std::string_view code_;
  size_t i_ = 0;
  FormatSection section_;
};

}  // namespace

FormatSection ParseFormatSection(std::string_view code) {
  return SectionReader(code).Read();
}

std::string Padded(long long number, size_t width) {
  std::string text = std::to_string(number);
  text.insert(0, width - std::min(width, text.size()), '0');
  return text;
}

}  // namespace tavrin
