#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// What a c element of a row says, as the sheet reader takes it: attribute values as written,
// texts with their character references replaced.
struct CellXml {
  bool hasR = false;
  std::string_view r;
  uint32_t s = 0;
  std::string_view t;
  bool hasV = false;
  std::string v;
  uint32_t vIndex = 0;  // a shared string's v, read as its index
  bool hasF = false;
  std::string f;
  std::string_view fType;
  int fSi = 0;
  bool hasIs = false;
  std::string is;  // the inline string's text, its runs joined

  bool operator==(const CellXml&) const = default;
};

// What a row element says: its attributes the reader uses, and its cells in order.
struct RowXml {
  bool hasR = false;
  long long r = 0;
  bool hasHt = false;
  double ht = 0;
  bool customHeight = false;
  bool customFormat = false;
  uint32_t s = 0;
  bool hidden = false;
  int outlineLevel = 0;
  bool collapsed = false;
  std::vector<CellXml> cells;

  bool operator==(const RowXml&) const = default;
};

// Reads the text of one row element ("<row ...>...</row>") straight from its characters, for the
// forms sheet writers use: attributes of plain values, cells holding v, f and a plain inline
// string, character references in texts. Anything else (a comment, CDATA, a rich-text run, an
// unknown element, a carriage return, an unusual value) returns false, and the row is read as
// XML by ReadRowNode instead; both give the same for what the scanner takes.
bool ScanRowXml(std::string_view text, RowXml& row);

// The same from a parsed row element.
void ReadRowNode(pugi::xml_node node, RowXml& row);

}  // namespace tavrin
