#include "io/sheet_names.h"

#include <algorithm>

#include "io/file_error.h"
#include "io/xml_text.h"
#include "spreadsheet/book.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

std::string Quoted(std::string_view name) {
  return "\"" + XmlText(name) + "\"";
}

}  // namespace

void CheckSheetNames(const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name.empty()) throw FormatError("sheet " + std::to_string(i + 1) + " has no name");
    if (SheetNameHead(name, kMaxSheetName) < name.size()) {
      throw FormatError("the sheet name " + Quoted(name) + " is longer than 31 characters");
    }
    if (size_t at = name.find_first_of(kSheetNameForbidden); at != std::string::npos) {
      throw FormatError("the sheet name " + Quoted(name) + " holds \"" + name[at] +
                        "\", which no sheet name can hold");
    }
    for (size_t j = 0; j < i; ++j) {
      if (EqualsIgnoringCase(names[j], name)) {
        throw FormatError("two sheets are named " + Quoted(names[j]) + " and " + Quoted(name) +
                          " (letter case is ignored)");
      }
    }
  }
}

std::string SheetNameFrom(std::string_view text) {
  std::string name = XmlText(text);
  std::replace_if(
      name.begin(), name.end(),
      [](char c) { return kSheetNameForbidden.find(c) != std::string::npos; }, '_');
  name.resize(SheetNameHead(name, kMaxSheetName));
  return name.empty() ? "Sheet1" : name;
}

}  // namespace tavrin
