#include "io/formula_shift.h"

#include <cctype>
#include <optional>

#include "host/address.h"
#include "host/reference_text.h"

namespace tavrin {

namespace {

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '$' ||
         c == '\\' || static_cast<unsigned char>(c) >= 0x80;
}

// The token as a whole A1 corner on the largest sheet a file describes; nothing when it is
// anything else (a name, a number, a corner past that sheet).
std::optional<A1Corner> CornerOf(std::string_view token) {
  A1Corner corner;
  if (ReadA1Corner(token, corner, kFileLastRow, kFileLastColumn) != token.size())
    return std::nullopt;
  return corner;
}

// Moves the corner's relative parts; false when it leaves the sheet.
bool ShiftCorner(A1Corner& corner, int rows, int columns) {
  if (corner.column > 0 && !corner.columnAbsolute) {
    corner.column += columns;
    if (corner.column < 1 || corner.column > kFileLastColumn) return false;
  }
  if (corner.row > 0 && !corner.rowAbsolute) {
    corner.row += rows;
    if (corner.row < 1 || corner.row > kFileLastRow) return false;
  }
  return true;
}

std::string CornerText(const A1Corner& corner) {
  std::string text;
  if (corner.column > 0) text += (corner.columnAbsolute ? "$" : "") + ColumnLetters(corner.column);
  if (corner.row > 0) text += (corner.rowAbsolute ? "$" : "") + std::to_string(corner.row);
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
    std::optional<A1Corner> first = next == '(' || next == '!' ? std::nullopt : CornerOf(token);
    std::optional<A1Corner> second;
    size_t secondEnd = end;
    if (first && next == ':') {
      secondEnd = TokenEnd(formula, end + 1);
      second = CornerOf(formula.substr(end + 1, secondEnd - end - 1));
    }
    bool isCell = first && first->IsCell();
    bool isRange = second && first->SameKind(*second);
    if (!isCell && !isRange) {
      out.append(token);
      i = end;
      continue;
    }
    if (!isRange) secondEnd = end;
    bool inside =
        ShiftCorner(*first, rows, columns) && (!isRange || ShiftCorner(*second, rows, columns));
    if (!inside) {
      out += "#REF!";
    } else {
      out += CornerText(*first);
      if (isRange) out += ":" + CornerText(*second);
    }
    i = secondEnd;
  }
  return out;
}

}  // namespace tavrin
