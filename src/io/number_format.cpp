#include "io/number_format.h"

#include <map>
#include <string>

namespace tavrin {

namespace {

// The date and time codes (d, m, y, h, s, lower case) a format code holds outside quoted texts,
// escaped characters and brackets other than elapsed time ([h]; [Red] and [$-804] hold none).
std::string DateCodes(std::string_view code) {
  std::string codes;
  for (size_t i = 0; i < code.size(); ++i) {
    char c = code[i];
    if (c == '"') {
      i = code.find('"', i + 1);
    } else if (c == '[') {
      size_t close = code.find(']', i + 1);
      std::string_view inside = code.substr(i + 1, close - i - 1);
      // Elapsed time: [h], [mm], [ss]; anything else in brackets is a color or a locale.
      if (!inside.empty() && inside.find_first_not_of(inside[0]) == std::string_view::npos &&
          std::string_view("hmsHMS").find(inside[0]) != std::string_view::npos) {
        codes += static_cast<char>(inside[0] | 0x20);
      }
      i = close;
    } else if (c == '\\' || c == '_' || c == '*') {
      ++i;  // the next character is shown or padded, not a code
    } else if (std::string_view("dmyhs").find(c | 0x20) != std::string_view::npos) {
      codes += static_cast<char>(c | 0x20);  // lower case for letters
    }
    if (i == std::string_view::npos) break;
  }
  return codes;
}

bool IsTimeFormatId(int id) {
  return (id >= 18 && id <= 21) || (id >= 45 && id <= 47) || (id >= 32 && id <= 35) || id == 55 ||
         id == 56;
}

// For every cell format of a styles part, in order: whether its number format passes.
template <class ByCode, class ById>
std::vector<bool> StylesWhere(const pugi::xml_document& styles, ByCode byCode, ById byId) {
  pugi::xml_node sheet = styles.child("styleSheet");
  std::map<int, bool> custom;
  for (pugi::xml_node format : sheet.child("numFmts").children("numFmt")) {
    custom[format.attribute("numFmtId").as_int()] =
        byCode(format.attribute("formatCode").as_string());
  }
  std::vector<bool> passing;
  for (pugi::xml_node xf : sheet.child("cellXfs").children("xf")) {
    int id = xf.attribute("numFmtId").as_int();
    auto found = custom.find(id);
    passing.push_back(found != custom.end() ? found->second : byId(id));
  }
  return passing;
}

}  // namespace

bool IsDateFormat(std::string_view code) {
  return !DateCodes(code).empty();
}

bool IsCalendarFormat(std::string_view code) {
  std::string codes = DateCodes(code);
  auto has = [&](char c) { return codes.find(c) != std::string::npos; };
  return has('d') || has('y') || (has('m') && !has('h') && !has('s'));
}

bool IsDateFormatId(int id) {
  return (id >= 14 && id <= 22) || (id >= 45 && id <= 47) || (id >= 27 && id <= 36) ||
         (id >= 50 && id <= 58);
}

std::vector<bool> DateStyles(const pugi::xml_document& styles) {
  return StylesWhere(styles, IsDateFormat, IsDateFormatId);
}

std::vector<bool> CalendarStyles(const pugi::xml_document& styles) {
  return StylesWhere(styles, IsCalendarFormat,
                     [](int id) { return IsDateFormatId(id) && !IsTimeFormatId(id); });
}

}  // namespace tavrin
