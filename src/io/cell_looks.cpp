#include "io/cell_looks.h"

#include <any>
#include <array>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "io/added_formats.h"
#include "io/theme_colours.h"
#include "io/xlsx_origin.h"
#include "spreadsheet/book.h"

namespace tavrin {

namespace {

// The colours of palette indices 0-63 when a styles part brings no palette of its own. 64 and
// 65 are the window's text and background colours, which no file states.
constexpr std::array<uint32_t, 64> kStandardPalette = {
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,
    0x800000, 0x008000, 0x000080, 0x808000, 0x800080, 0x008080, 0xC0C0C0, 0x808080,
    0x9999FF, 0x993366, 0xFFFFCC, 0xCCFFFF, 0x660066, 0xFF8080, 0x0066CC, 0xCCCCFF,
    0x000080, 0xFF00FF, 0xFFFF00, 0x00FFFF, 0x800080, 0x800000, 0x008080, 0x0000FF,
    0x00CCFF, 0xCCFFFF, 0xCCFFCC, 0xFFFF99, 0x99CCFF, 0xFF99CC, 0xCC99FF, 0xFFCC99,
    0x3366FF, 0x33CCCC, 0x99CC00, 0xFFCC00, 0xFF9900, 0xFF6600, 0x666699, 0x969696,
    0x003366, 0x339966, 0x003300, 0x333300, 0x993300, 0x993366, 0x333399, 0x333333};

// 0xRRGGBB of an "AARRGGBB" or "RRGGBB" colour; none for anything else. The alpha byte is left
// out: the host paints fills opaque whatever it says.
std::optional<uint32_t> LookColour(std::string_view argb) {
  if (argb.size() == 8) argb.remove_prefix(2);
  if (argb.size() != 6 || argb.find_first_not_of("0123456789ABCDEFabcdef") != argb.npos)
    return std::nullopt;
  return static_cast<uint32_t>(std::stoul(std::string(argb), nullptr, 16));
}

// The colours a styles part names by number: its palette indices, and the theme's colours.
struct LookColours {
  std::vector<std::optional<uint32_t>> indexed;
  std::vector<uint32_t> theme;
};

// The palette indices: the part's own (colors/indexedColors) when it has one, else the
// standard one.
std::vector<std::optional<uint32_t>> LookPalette(pugi::xml_node styleSheet) {
  std::vector<std::optional<uint32_t>> palette;
  pugi::xml_node own = styleSheet.child("colors").child("indexedColors");
  if (own) {
    for (pugi::xml_node rgb : own.children("rgbColor")) {
      if (palette.size() == kStandardPalette.size()) break;
      palette.push_back(LookColour(rgb.attribute("rgb").as_string()));
    }
    return palette;
  }
  palette.assign(kStandardPalette.begin(), kStandardPalette.end());
  return palette;
}

// A colour element's colour, by value, by palette index or by theme colour and tint.
std::optional<uint32_t> ElementColour(pugi::xml_node colour, const LookColours& palette) {
  if (pugi::xml_attribute rgb = colour.attribute("rgb")) return LookColour(rgb.as_string());
  if (pugi::xml_attribute theme = colour.attribute("theme")) {
    size_t index = theme.as_uint();
    if (index >= palette.theme.size()) return std::nullopt;
    return Tinted(palette.theme[index], colour.attribute("tint").as_double());
  }
  pugi::xml_attribute indexed = colour.attribute("indexed");
  size_t index = indexed.as_uint(static_cast<unsigned>(palette.indexed.size()));
  return index < palette.indexed.size() ? palette.indexed[index] : std::nullopt;
}

// The colour a solid pattern paints: its foreground colour.
std::optional<uint32_t> SolidFillColour(pugi::xml_node fill, const LookColours& palette) {
  pugi::xml_node pattern = fill.child("patternFill");
  if (std::string_view(pattern.attribute("patternType").as_string()) != "solid")
    return std::nullopt;
  return ElementColour(pattern.child("fgColor"), palette);
}

// A font's colour, unless it is the window's text colour (black, or palette index 64).
std::optional<uint32_t> FontColour(pugi::xml_node font, const LookColours& palette) {
  std::optional<uint32_t> colour = ElementColour(font.child("color"), palette);
  return colour == 0u ? std::nullopt : colour;
}

// A border's sides as a page draws them: thin ones a pixel wide, medium two, thick and double
// three; dashed and dotted kinds so; the colour black unless the side gives one.
std::array<std::string, 4> BorderSides(pugi::xml_node border, const LookColours& palette) {
  std::array<std::string, 4> sides;
  const char* names[] = {"top", "right", "bottom", "left"};
  for (size_t i = 0; i < sides.size(); ++i) {
    pugi::xml_node side = border.child(names[i]);
    std::string_view style = side.attribute("style").as_string();
    if (style.empty() || style == "none") continue;
    std::string width = style.starts_with("medium") ? "2px"
                        : style == "thick"          ? "3px"
                        : style == "double"         ? "3px"
                                                    : "1px";
    std::string kind = style == "double"                        ? "double"
                       : style.find("ash") != std::string::npos ? "dashed"
                       : style == "dotted" || style == "hair"   ? "dotted"
                                                                : "solid";
    sides[i] = width + " " + kind + " " +
               ColourText(ElementColour(side.child("color"), palette).value_or(0));
  }
  return sides;
}

}  // namespace

std::string BuiltInFormat(int id) {
  static const std::map<int, std::string> codes = {{1, "0"},
                                                   {2, "0.00"},
                                                   {3, "#,##0"},
                                                   {4, "#,##0.00"},
                                                   {9, "0%"},
                                                   {10, "0.00%"},
                                                   {11, "0.00E+00"},
                                                   {14, "yyyy/m/d"},
                                                   {15, "d-mmm-yy"},
                                                   {16, "d-mmm"},
                                                   {17, "mmm-yy"},
                                                   {18, "h:mm AM/PM"},
                                                   {19, "h:mm:ss AM/PM"},
                                                   {20, "h:mm"},
                                                   {21, "h:mm:ss"},
                                                   {22, "yyyy/m/d h:mm"},
                                                   {31, "yyyy\"年\"m\"月\"d\"日\""},
                                                   {37, "#,##0 ;(#,##0)"},
                                                   {38, "#,##0 ;[Red](#,##0)"},
                                                   {39, "#,##0.00;(#,##0.00)"},
                                                   {40, "#,##0.00;[Red](#,##0.00)"},
                                                   {49, "@"},
                                                   {57, "yyyy\"年\"m\"月\""},
                                                   {58, "m\"月\"d\"日\""}};
  auto found = codes.find(id);
  return found == codes.end() ? "" : found->second;
}

namespace {

// For every cell format of a styles part, in order: its number format code.
std::vector<std::string> NumberFormats(pugi::xml_node styleSheet) {
  std::map<int, std::string> custom;
  for (pugi::xml_node format : styleSheet.child("numFmts").children("numFmt"))
    custom[format.attribute("numFmtId").as_int()] = format.attribute("formatCode").as_string();
  std::vector<std::string> codes;
  for (pugi::xml_node xf : styleSheet.child("cellXfs").children("xf")) {
    int id = xf.attribute("numFmtId").as_int();
    auto found = custom.find(id);
    std::string code = found != custom.end() ? found->second : BuiltInFormat(id);
    codes.push_back(code == "General" || code == "G/通用格式" ? "" : code);
  }
  return codes;
}

bool FontIsBold(pugi::xml_node font) {
  pugi::xml_node b = font.child("b");
  if (!b) return false;
  pugi::xml_attribute val = b.attribute("val");
  return !val || val.as_bool();
}

}  // namespace

std::vector<CellLook> CellLooks(const pugi::xml_document& styles, const pugi::xml_document& theme) {
  pugi::xml_node styleSheet = styles.child("styleSheet");
  LookColours palette{LookPalette(styleSheet), ThemeColours(theme)};
  std::vector<CellLook> fonts;
  for (pugi::xml_node font : styleSheet.child("fonts").children("font")) {
    CellLook look;
    look.bold = FontIsBold(font);
    look.colour = FontColour(font, palette);
    fonts.push_back(std::move(look));
  }
  std::vector<std::optional<uint32_t>> fills;
  for (pugi::xml_node fill : styleSheet.child("fills").children("fill"))
    fills.push_back(SolidFillColour(fill, palette));
  std::vector<std::string> formats = NumberFormats(styleSheet);
  std::vector<std::array<std::string, 4>> borders;
  for (pugi::xml_node border : styleSheet.child("borders").children("border"))
    borders.push_back(BorderSides(border, palette));
  std::vector<CellLook> looks;
  for (pugi::xml_node xf : styleSheet.child("cellXfs").children("xf")) {
    size_t font = xf.attribute("fontId").as_uint();
    size_t fill = xf.attribute("fillId").as_uint();
    CellLook look = font < fonts.size() ? fonts[font] : CellLook{};
    look.fill = fill < fills.size() ? fills[fill] : std::nullopt;
    look.numberFormat = formats[looks.size()];
    size_t border = xf.attribute("borderId").as_uint();
    if (border < borders.size()) look.borders = borders[border];
    looks.push_back(std::move(look));
  }
  return looks;
}

std::string ColourText(uint32_t colour) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) text += kDigits[(colour >> shift) & 0xF];
  return text;
}

std::string CellLook::FillText() const {
  return fill ? ColourText(*fill) : "";
}

const CellLook* LookOf(const Book& book, uint32_t style) {
  const CellLook* look = nullptr;
  const auto* origin = std::any_cast<std::shared_ptr<const XlsxOrigin>>(&book.Origin());
  if (origin != nullptr && *origin != nullptr && style < (*origin)->looks.size()) {
    look = &(*origin)->looks[style];
  } else if (const AddedFormats* added = AddedFormatsOf(book)) {
    if (const AddedFormat* format = added->Find(style)) look = &format->look;
  }
  return look == nullptr || look->IsPlain() ? nullptr : look;
}

}  // namespace tavrin
