#include "io/sheet_rows.h"

#include <string.h>

#include <algorithm>

#include "io/file_error.h"

namespace tavrin {

namespace {

// Where a text stands in another from a position, npos when nowhere: memmem, much faster than a
// search that stops at every "<" of the XML.
size_t Find(std::string_view text, std::string_view what, size_t from = 0) {
  if (from >= text.size()) return std::string_view::npos;  // never a null text to memmem
  const void* at = memmem(text.data() + from, text.size() - from, what.data(), what.size());
  return at == nullptr ? std::string_view::npos : static_cast<const char*>(at) - text.data();
}

constexpr std::string_view kCellsEnd = "</sheetData>";

bool EndsName(char c) {
  return c == ' ' || c == '>' || c == '/' || c == '\t' || c == '\n' || c == '\r';
}

// Where the element's name stands in the text, as "<name" followed by the end of the name.
size_t FindElement(std::string_view text, std::string_view name, size_t from = 0) {
  std::string open = "<" + std::string(name);
  for (size_t at = Find(text, open, from); at != std::string_view::npos;
       at = Find(text, open, at + 1)) {
    if (at + open.size() < text.size() && EndsName(text[at + open.size()])) return at;
  }
  return std::string_view::npos;
}

// The position just past the ">" ending the start tag whose "<" is at `at`, quotes respected;
// npos when the tag never ends. Sets selfClosing for "/>".
size_t TagEnd(std::string_view text, size_t at, bool& selfClosing) {
  char quote = 0;
  for (size_t i = at; i < text.size(); ++i) {
    char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      selfClosing = text[i - 1] == '/';
      return i + 1;
    }
  }
  return std::string_view::npos;
}

// Where the sheetData's start tag ends, npos when the part has no cells.
size_t CellsStart(std::string_view bytes) {
  size_t start = FindElement(bytes, "sheetData");
  bool empty = false;
  size_t open = start == std::string_view::npos ? start : TagEnd(bytes, start, empty);
  return empty ? std::string_view::npos : open;
}

}  // namespace

SheetPartSplit SplitSheetPart(std::string_view bytes, const std::string& part) {
  SheetPartSplit split;
  size_t open = CellsStart(bytes);
  if (open == std::string_view::npos) {
    split.rest = bytes;
    return split;
  }
  size_t close = Find(bytes, kCellsEnd, open);
  if (close == std::string_view::npos)
    throw FormatError(part + " is damaged (no end of its cells)");
  size_t start = FindElement(bytes, "sheetData");
  split.sheetData = bytes.substr(open, close - open);
  split.rest.reserve(bytes.size() - split.sheetData.size());
  split.rest.append(bytes.substr(0, start)).append("<sheetData/>");
  split.rest.append(bytes.substr(close + kCellsEnd.size()));
  return split;
}

size_t ArriveAtCells(ArrivingPart part) {
  size_t open = CellsStart(part.text);
  while (open == std::string_view::npos && part.more()) open = CellsStart(part.text);
  return open;
}

std::string_view SheetRows::Arrived() const {
  return arriving_ ? std::string_view(arriving_->text) : whole_;
}

bool SheetRows::More() {
  return arriving_ && arriving_->more();
}

std::string_view SheetRows::End() {
  while (More()) {
  }
  at_ = Arrived().size();
  return {};
}

std::string_view SheetRows::NextText() {
  for (;;) {
    std::string_view rest = Arrived().substr(std::min(at_, Arrived().size()));
    size_t start = FindElement(rest, "row");
    // The cells end at an end of the sheetData before the next row.
    if (Find(rest.substr(0, start), kCellsEnd) != std::string_view::npos) return End();
    size_t end = std::string_view::npos;
    bool selfClosing = false;
    if (start != std::string_view::npos) end = TagEnd(rest, start, selfClosing);
    if (end != std::string_view::npos && !selfClosing) {
      size_t close = Find(rest, "</row>", end);
      end = close == std::string_view::npos ? close : close + std::string_view("</row>").size();
    }
    if (end != std::string_view::npos) {
      at_ += end;
      return rest.substr(start, end - start);
    }
    if (More()) continue;
    if (start == std::string_view::npos) return End();
    throw FormatError(part_ + " is damaged (a row has no end)");
  }
}

bool SheetRows::Next(RowXml& row, pugi::xml_document& document) {
  std::string_view text = NextText();
  if (text.empty()) return false;
  if (ScanRowXml(text, row)) return true;
  pugi::xml_parse_result result = document.load_buffer(
      text.data(), text.size(), pugi::parse_default | pugi::parse_ws_pcdata_single);
  if (!result) throw FormatError(part_ + " is damaged (" + result.description() + ")");
  ReadRowNode(document.child("row"), row);
  return true;
}

}  // namespace tavrin
