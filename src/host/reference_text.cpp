#include "host/reference_text.h"

#include <algorithm>

#include "host/characters.h"

namespace tavrin {

namespace {

// Past any sheet's rows and columns; a run's value stops here, so a long run cannot overflow
// and still reads as too big.
constexpr int kBeyondSheets = 1 << 24;

// Reads the run of letters (base 26, "A" 1) or digits (base 10) starting at `at` into value;
// returns where the run ends.
size_t ReadLetters(std::string_view text, size_t at, int& value) {
  value = 0;
  for (; at < text.size() && IsLetter(text[at]); ++at) {
    value = std::min(value * 26 + (Upper(text[at]) - 'A' + 1), kBeyondSheets);
  }
  return at;
}

size_t ReadDigits(std::string_view text, size_t at, int& value) {
  value = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    value = std::min(value * 10 + (text[at] - '0'), kBeyondSheets);
  }
  return at;
}

// Whether a character may stand in a sheet name written without apostrophes: a letter, "_" or a
// byte of a character past ASCII; after the first, also a digit or ".".
bool StartsPlainName(char c) {
  return IsLetter(c) || c == '_' || static_cast<unsigned char>(c) >= 0x80;
}
bool GoesOnPlainName(char c) {
  return StartsPlainName(c) || IsDigit(c) || c == '.';
}

// Whether the whole name, which is not empty, reads as a cell: one to three letters and a row
// number, or "R" and "C" in that order, either left out, each with or without a number.
bool ReadsAsCell(std::string_view name) {
  size_t letters = 0;
  while (letters < name.size() && IsLetter(name[letters])) ++letters;
  size_t digits = letters;
  while (digits < name.size() && IsDigit(name[digits])) ++digits;
  if (letters >= 1 && letters <= 3 && digits > letters && digits == name.size()) return true;
  size_t at = 0;
  for (char letter : {'R', 'C'}) {
    if (at < name.size() && Upper(name[at]) == letter) {
      for (++at; at < name.size() && IsDigit(name[at]);) ++at;
    }
  }
  return at == name.size();
}

}  // namespace

std::string SheetPrefix(std::string_view name) {
  bool plain = !name.empty() && StartsPlainName(name.front()) && !ReadsAsCell(name);
  for (char c : name) plain = plain && GoesOnPlainName(c);
  if (plain) return std::string(name) + "!";
  std::string quoted = "'";
  for (char c : name) quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'!";
}

size_t ReadA1Corner(std::string_view text, A1Corner& corner, int lastRow, int lastColumn) {
  corner = A1Corner{};
  bool dollar = text.starts_with('$');
  size_t at = dollar;
  size_t letters = ReadLetters(text, at, corner.column);
  if (letters > at) {
    if (corner.column > lastColumn) return 0;
    corner.columnAbsolute = dollar;
    at = letters;
    dollar = at < text.size() && text[at] == '$';
    at += dollar;
  }
  size_t digits = ReadDigits(text, at, corner.row);
  if (digits == at) return dollar || corner.column == 0 ? 0 : at;
  if (corner.row < 1 || corner.row > lastRow) return 0;
  corner.rowAbsolute = dollar;
  return digits;
}

size_t ReadR1C1Coordinate(std::string_view text, char letter, int last,
                          R1C1Coordinate& coordinate) {
  if (text.empty() || Upper(text[0]) != letter) return 0;
  int number = 0;
  if (text.size() > 1 && text[1] == '[') {
    bool negative = text.substr(2).starts_with('-');
    size_t at = 2 + (negative || text.substr(2).starts_with('+'));
    size_t digits = ReadDigits(text, at, number);
    if (digits == at || digits == text.size() || text[digits] != ']' || number >= last) return 0;
    coordinate = {negative ? -number : number, false};
    return digits + 1;
  }
  size_t digits = ReadDigits(text, 1, number);
  if (digits == 1) {
    coordinate = {0, false};
    return 1;
  }
  if (number < 1 || number > last) return 0;
  coordinate = {number, true};
  return digits;
}

}  // namespace tavrin
