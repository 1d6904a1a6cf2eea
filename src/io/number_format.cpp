#include "io/number_format.h"

#include <map>
#include <string>

namespace tavrin {

bool IsDateFormat(std::string_view code) {
  for (size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    if (c == '"') {
      i = code.find('"', i + 1);
    } else if (c == '[') {
      i = code.find(']', i + 1);
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown or padded, not a code
    } else {
      switch (c | 0x20) {  // lower case for letters
        case 'd':
        case 'm':
        case 'y':
        case 'h':
        case 's':
          return true;
      }
    }
    if (i == std::string_view::npos) break;
  }
  return false;
}

bool IsDateFormatId(int id) {
  return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) ||
         (id >= 50 && id <= 58);
}

std::vector<bool> DateStyles(const pugi::xml_document& styles) {
  pugi::xml_node sheet = styles.child("styleSheet");
  std::map<int, bool> custom;
  for (pugi::xml_node format : sheet.child("numFmts").children("numFmt")) {
    custom[format.attribute("numFmtId").as_int()] =
        IsDateFormat(format.attribute("formatCode").as_string());
  }
  std::vector<bool> dates;
  for (pugi::xml_node xf : sheet.child("cellXfs").children("xf")) {
    int id = xf.attribute("numFmtId").as_int();
    auto found = custom.find(id);
    dates.push_back(found != custom.end() ? found->second : IsDateFormatId(id));
  }
  return dates;
}

}  // namespace tavrin
