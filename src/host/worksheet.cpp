#include "host/worksheet.h"

#include <algorithm>
#include <charconv>

#include "host/host_error.h"

namespace tavrin {

namespace {

// The whole text as a number; whether that row lies on the sheet, Rows(first, last) checks.
int ReadRowNumber(std::string_view text) {
  int row = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), row);
  if (error != std::errc() || end != text.data() + text.size()) {
    throw HostError::ApplicationDefined();
  }
  return row;
}

}  // namespace

Range Worksheet::Cells(int row, int column) {
  return tavrin::Range(*this, Area{1, 1, 1, 1}).Cells(row, column);
}

Range Worksheet::Range(const tavrin::Range& first, const tavrin::Range& last) {
  int top = std::min(first.Row(), last.Row());
  int left = std::min(first.Column(), last.Column());
  int bottom = std::max(first.FirstArea().LastRow(), last.FirstArea().LastRow());
  int right = std::max(first.FirstArea().LastColumn(), last.FirstArea().LastColumn());
  return tavrin::Range(*this, Area{top, left, bottom - top + 1, right - left + 1});
}

Range Worksheet::Rows(int first, int last) {
  if (first < 1 || last < first || last > kLastRow) throw HostError::ApplicationDefined();
  return tavrin::Range(*this, Area{first, 1, last - first + 1, kLastColumn});
}

Range Worksheet::Rows(std::string_view rowsText) {
  size_t colon = rowsText.find(':');
  if (colon == std::string_view::npos) {
    int row = ReadRowNumber(rowsText);
    return Rows(row, row);
  }
  int first = ReadRowNumber(rowsText.substr(0, colon));
  int last = ReadRowNumber(rowsText.substr(colon + 1));
  return Rows(std::min(first, last), std::max(first, last));
}

}  // namespace tavrin
