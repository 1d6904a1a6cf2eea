#include "io/formula_shift.h"

#include <cctype>
#include <optional>

#include "host/address.h"

namespace tavrin {

namespace {

// The largest sheet a file can describe, which formulas in files may point into.
constexpr int kFileRows = 1048576;
constexpr int kFileColumns = 16384;

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$' ||
         c == '\\' || static_cast<unsigned char>(c) >= 0x80;
}

// One part of a reference: a column ("$B"), a row ("12") or both ("B$12").
struct RefPart {
  bool columnAbsolute = false;
  int column = 0;
  bool rowAbsolute = false;
  int row = 0;
};

std::optional<RefPart> ReadPart(std::string_view token) {
  RefPart part;
  size_t i = 0;
  if (i < token.size() && token[i] == '$') part.columnAbsolute = true, ++i;
  size_t letters = i;
  while (i < token.size() && std::isalpha(static_cast<unsigned char>(token[i])) &&
         i - letters < 4) {
    part.column = part.column * 26 + (std::toupper(static_cast<unsigned char>(token[i])) - 'A' + 1);
    ++i;
  }
  letters = i - letters;
  if (letters > 3) return std::nullopt;
  if (letters == 0) {  // a row alone: the "$" read belongs to the row
    part.rowAbsolute = part.columnAbsolute;
    part.columnAbsolute = false;
  } else if (i < token.size() && token[i] == '$') {
    part.rowAbsolute = true, ++i;
  }
  size_t digits = i;
  while (i < token.size() && std::isdigit(static_cast<unsigned char>(token[i])) && i - digits < 8) {
    part.row = part.row * 10 + (token[i] - '0');
    ++i;
  }
  bool hasRow = i > digits;
  if (i != token.size() || (!hasRow && (letters == 0 || part.rowAbsolute))) return std::nullopt;
  return part;
}

// Moves the part; false when it leaves the sheet.
bool Shift(RefPart& part, int rows, int columns) {
  if (part.column > 0) {
    if (!part.columnAbsolute) part.column += columns;
    if (part.column < 1 || part.column > kFileColumns) return false;
  }
  if (part.row > 0) {
    if (!part.rowAbsolute) part.row += rows;
    if (part.row < 1 || part.row > kFileRows) return false;
  }
  return true;
}

std::string Text(const RefPart& part) {
  std::string text;
  if (part.column > 0) text += (part.columnAbsolute ? "$" : "") + ColumnLetters(part.column);
  if (part.row > 0) text += (part.rowAbsolute ? "$" : "") + std::to_string(part.row);
  return text;
}

size_t TokenEnd(std::string_view text, size_t from) {
  while (from < text.size() && IsNameChar(text[from])) ++from;
  return from;
}

// Copies a quoted run ("text" or 'sheet name', the quote doubled inside) from its opening quote.
size_t QuotedEnd(std::string_view text, size_t from) {
  char quote = text[from];
  for (size_t i = from + 1; i < text.size(); ++i) {
    if (text[i] != quote) continue;
    if (i + 1 < text.size() && text[i + 1] == quote) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return text.size();
}

}  // namespace

std::string ShiftFormula(std::string_view formula, int rows, int columns) {
  std::string out;
  size_t i = 0;
  while (i < formula.size()) {
    char c = formula[i];
    if (c == '"' || c == '\'') {
      size_t end = QuotedEnd(formula, i);
      out.append(formula.substr(i, end - i));
      i = end;
      continue;
    }
    if (!IsNameChar(c) || (i > 0 && IsNameChar(formula[i - 1]))) {
      out += c;
      ++i;
      continue;
    }
    size_t end = TokenEnd(formula, i);
    std::string_view token = formula.substr(i, end - i);
    char next = end < formula.size() ? formula[end] : '\0';
    std::optional<RefPart> first = next == '(' || next == '!' ? std::nullopt : ReadPart(token);
    std::optional<RefPart> second;
    size_t secondEnd = end;
    if (first && next == ':') {
      secondEnd = TokenEnd(formula, end + 1);
      second = ReadPart(formula.substr(end + 1, secondEnd - end - 1));
    }
    bool isCell = first && first->column > 0 && first->row > 0;
    bool isRange = second && (first->column > 0) == (second->column > 0) &&
                   (first->row > 0) == (second->row > 0);
    if (!isCell && !isRange) {
      out.append(token);
      i = end;
      continue;
    }
    if (!isRange) secondEnd = end;
    bool inside = Shift(*first, rows, columns) && (!isRange || Shift(*second, rows, columns));
    if (!inside) {
      out += "#REF!";
    } else {
      out += Text(*first);
      if (isRange) out += ":" + Text(*second);
    }
    i = secondEnd;
  }
  return out;
}

}  // namespace tavrin
