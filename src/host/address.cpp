#include "host/address.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>

#include "host/characters.h"
#include "host/reference_text.h"

namespace tavrin {

namespace {

void SkipBlanks(std::string_view& text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
}

bool Take(std::string_view& text, char c) {
  if (text.empty() || text.front() != c) return false;
  text.remove_prefix(1);
  return true;
}

// A character that cannot appear in a sheet name written without quotes.
bool EndsUnquotedName(char c) {
  return IsBlank(c) || std::string_view("!,:'[]*?/\\").find(c) != std::string_view::npos;
}

// "Sheet1!" or "'My sheet'!" at the front of the text: the name, consumed with its "!".
// Returns "" and consumes nothing when the text starts with no sheet; nullopt when it starts
// with a broken one (an unclosed quote, a quoted name without "!", an empty name).
std::optional<std::string> ReadSheet(std::string_view& text) {
  if (text.starts_with('\'')) {
    std::string name;
    size_t at = 1;
    for (;; ++at) {
      if (at >= text.size()) return std::nullopt;
      if (text[at] != '\'') {
        name += text[at];
      } else if (text.substr(at + 1).starts_with('\'')) {
        name += '\'';
        ++at;
      } else {
        break;
      }
    }
    text.remove_prefix(at + 1);
    if (name.empty() || !Take(text, '!')) return std::nullopt;
    return name;
  }
  size_t length = 0;
  while (length < text.size() && !EndsUnquotedName(text[length])) ++length;
  if (length == 0 || length == text.size() || text[length] != '!') return std::string();
  std::string name(text.substr(0, length));
  text.remove_prefix(length + 1);
  return name;
}

std::optional<A1Corner> ReadCorner(std::string_view& text) {
  A1Corner corner;
  size_t length = ReadA1Corner(text, corner);
  if (length == 0) return std::nullopt;
  text.remove_prefix(length);
  return corner;
}

std::optional<Area> Span(const A1Corner& first, const A1Corner& last) {
  Area area;
  if (first.IsCell() && last.IsCell()) {
    area.row = std::min(first.row, last.row);
    area.column = std::min(first.column, last.column);
    area.rows = std::abs(first.row - last.row) + 1;
    area.columns = std::abs(first.column - last.column) + 1;
  } else if (first.row == 0 && last.row == 0) {
    area.column = std::min(first.column, last.column);
    area.columns = std::abs(first.column - last.column) + 1;
    area.rows = kLastRow;
  } else if (first.column == 0 && last.column == 0) {
    area.row = std::min(first.row, last.row);
    area.rows = std::abs(first.row - last.row) + 1;
    area.columns = kLastColumn;
  } else {
    return std::nullopt;
  }
  return area;
}

std::optional<Area> ReadArea(std::string_view& text) {
  std::optional<A1Corner> first = ReadCorner(text);
  if (!first) return std::nullopt;
  if (!Take(text, ':')) {
    if (!first->IsCell()) return std::nullopt;
    return Area{first->row, first->column, 1, 1};
  }
  std::optional<A1Corner> last = ReadCorner(text);
  if (!last) return std::nullopt;
  return Span(*first, *last);
}

// Sheet names are told apart without regard to letter case, as the host does.
bool SameSheet(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Upper(x) == Upper(y); });
}

}  // namespace

std::string ColumnLetters(int column) {
  std::string letters;
  for (; column > 0; column = (column - 1) / 26) {
    letters.insert(letters.begin(), static_cast<char>('A' + (column - 1) % 26));
  }
  return letters;
}

std::string AreaAddress(const Area& area) {
  if (area.IsWholeRows()) {
    return "$" + std::to_string(area.row) + ":$" + std::to_string(area.LastRow());
  }
  if (area.IsWholeColumns()) {
    return "$" + ColumnLetters(area.column) + ":$" + ColumnLetters(area.LastColumn());
  }
  std::string text = "$" + ColumnLetters(area.column) + "$" + std::to_string(area.row);
  if (area.rows == 1 && area.columns == 1) return text;
  return text + ":$" + ColumnLetters(area.LastColumn()) + "$" + std::to_string(area.LastRow());
}

// A part that names no sheet lies on the sheet the other parts name.
std::optional<ParsedAddress> ParseAddress(std::string_view text) {
  ParsedAddress parsed;
  do {
    SkipBlanks(text);
    std::optional<std::string> sheet = ReadSheet(text);
    if (!sheet) return std::nullopt;
    if (!sheet->empty()) {
      if (parsed.sheet.empty()) {
        parsed.sheet = *sheet;
      } else if (!SameSheet(parsed.sheet, *sheet)) {
        return std::nullopt;
      }
    }
    std::optional<Area> area = ReadArea(text);
    if (!area) return std::nullopt;
    parsed.areas.push_back(*area);
    SkipBlanks(text);
  } while (Take(text, ','));
  if (!text.empty()) return std::nullopt;
  return parsed;
}

}  // namespace tavrin
