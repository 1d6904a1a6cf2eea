#include "io/sheet_names.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

#include "io/file_error.h"
#include "io/xml_text.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

constexpr size_t kMostCharacters = 31;
constexpr std::string_view kForbidden = ":\\/?*[]";

// The length of the longest head of the text that holds at most `most` characters as the host
// counts them, never cutting inside a character.
size_t HeadLength(std::string_view text, size_t most) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(std::min<size_t>(text.size(), INT32_MAX));
  size_t characters = 0;
  for (int32_t i = 0; i < length;) {
    int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    characters += c > 0xFFFF ? 2 : 1;
    if (characters > most) return static_cast<size_t>(start);
  }
  return text.size();
}

std::string Quoted(std::string_view name) {
  return "\"" + XmlText(name) + "\"";
}

}  // namespace

void CheckSheetNames(const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (name.empty()) throw FormatError("sheet " + std::to_string(i + 1) + " has no name");
    if (HeadLength(name, kMostCharacters) < name.size()) {
      throw FormatError("the sheet name " + Quoted(name) + " is longer than 31 characters");
    }
    if (size_t at = name.find_first_of(kForbidden); at != std::string::npos) {
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
      name.begin(), name.end(), [](char c) { return kForbidden.find(c) != std::string::npos; },
      '_');
  name.resize(HeadLength(name, kMostCharacters));
  return name.empty() ? "Sheet1" : name;
}

}  // namespace tavrin
