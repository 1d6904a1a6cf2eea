#include "io/sheet_rows.h"

#include <string.h>

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

// The position just past the ">" ending the start tag at `at`, quotes respected; npos when the
// tag never ends. Sets selfClosing for "/>".
size_t TagEnd(std::string_view text, size_t at, bool& selfClosing) {
  char quote = 0;
  for (size_t i = at; i < text.size(); ++i) {
    char c = text[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      selfClosing = i > at && text[i - 1] == '/';
      return i + 1;
    }
  }
  return std::string_view::npos;
}

}  // namespace

SheetPartSplit SplitSheetPart(std::string_view bytes, const std::string& part) {
  SheetPartSplit split;
  size_t start = FindElement(bytes, "sheetData");
  bool empty = false;
  size_t open = start == std::string_view::npos ? start : TagEnd(bytes, start, empty);
  if (open == std::string_view::npos || empty) {
    split.rest = bytes;
    return split;
  }
  // The cells end near the end of the part.
  size_t close = bytes.rfind("</sheetData>");
  if (close == std::string_view::npos || close < open)
    throw FormatError(part + " is damaged (no end of its cells)");
  split.sheetData = bytes.substr(open, close - open);
  split.rest.reserve(bytes.size() - split.sheetData.size());
  split.rest.append(bytes.substr(0, start)).append("<sheetData/>");
  split.rest.append(bytes.substr(close + std::string_view("</sheetData>").size()));
  return split;
}

std::string_view SheetRows::NextText() {
  size_t start = FindElement(rest_, "row");
  if (start == std::string_view::npos) {
    rest_ = {};
    return {};
  }
  bool selfClosing = false;
  size_t end = TagEnd(rest_, start, selfClosing);
  if (end != std::string_view::npos && !selfClosing) {
    size_t close = Find(rest_, "</row>", end);
    end = close == std::string_view::npos ? close : close + std::string_view("</row>").size();
  }
  if (end == std::string_view::npos) throw FormatError(part_ + " is damaged (a row has no end)");
  std::string_view text = rest_.substr(start, end - start);
  rest_.remove_prefix(end);
  return text;
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
