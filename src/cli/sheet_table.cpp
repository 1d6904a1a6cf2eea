#include "cli/sheet_table.h"

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// Display width: a character of the wide scripts (CJK) takes two columns.
size_t DisplayWidth(const std::string& text) {
  size_t width = 0;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    width += length >= 3 ? 2 : 1;
    i += length;
  }
  return width;
}

void Pad(std::ostream& out, const std::string& text, size_t width) {
  out << text << std::string(width - std::min(width, DisplayWidth(text)), ' ');
}

}  // namespace

void PrintTable(Sheet& sheet, const Area& area, std::ostream& out) {
  std::vector<std::vector<std::string>> rows;
  std::vector<size_t> widths(area.columns + 1, 0);
  std::vector<std::string> header{""};
  for (int c = area.column; c <= area.LastColumn(); ++c) header.push_back(ColumnLetters(c));
  rows.push_back(header);
  for (int r = area.row; r <= area.LastRow(); ++r) {
    std::vector<std::string> line{std::to_string(r)};
    for (int c = area.column; c <= area.LastColumn(); ++c) {
      line.push_back(sheet.Text(sheet.Cells(r, c)));
    }
    rows.push_back(std::move(line));
  }
  for (const auto& line : rows) {
    for (size_t i = 0; i < line.size(); ++i) widths[i] = std::max(widths[i], DisplayWidth(line[i]));
  }
  for (const auto& line : rows) {
    for (size_t i = 0; i < line.size(); ++i) {
      if (i > 0) out << " | ";
      Pad(out, line[i], widths[i]);
    }
    out << '\n';
  }
}

}  // namespace tavrin
