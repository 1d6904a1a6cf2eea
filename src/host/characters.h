#pragma once

namespace tavrin {

// Character classes of the runtime's and the host's text readers. ASCII only: the texts they
// read (numbers, addresses) are ASCII wherever these classes matter.

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
inline char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
// The blanks allowed around a number or an address.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace tavrin
