#include "io/theme_colours.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace tavrin {

namespace {

std::string_view LocalName(const char* name) {
  std::string_view text = name;
  size_t colon = text.find(':');
  return colon == std::string_view::npos ? text : text.substr(colon + 1);
}

pugi::xml_node Child(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_node child : node.children())
    if (LocalName(child.name()) == local) return child;
  return {};
}

struct Hsl {
  double h, s, l;
};

Hsl ToHsl(uint32_t colour) {
  double r = ((colour >> 16) & 0xFF) / 255.0, g = ((colour >> 8) & 0xFF) / 255.0,
         b = (colour & 0xFF) / 255.0;
  double high = std::max({r, g, b}), low = std::min({r, g, b}), l = (high + low) / 2;
  if (high == low) return {0, 0, l};
  double d = high - low;
  double s = l > 0.5 ? d / (2 - high - low) : d / (high + low);
  double h = high == r   ? (g - b) / d + (g < b ? 6 : 0)
             : high == g ? (b - r) / d + 2
                         : (r - g) / d + 4;
  return {h / 6, s, l};
}

uint32_t FromHsl(const Hsl& c) {
  // From p up to q over the first sixth of the hue's turn, q to the half, back down to p by two
  // thirds, p after.
  auto channel = [&](double p, double q, double t) {
    t -= std::floor(t);
    return p + (q - p) * std::clamp(std::min(6 * t, 4 - 6 * t), 0.0, 1.0);
  };
  double q = c.l + c.s * std::min(c.l, 1 - c.l), p = 2 * c.l - q;
  auto byte = [](double v) {
    return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
  };
  return byte(channel(p, q, c.h + 1.0 / 3)) << 16 | byte(channel(p, q, c.h)) << 8 |
         byte(channel(p, q, c.h - 1.0 / 3));
}

}  // namespace

std::vector<uint32_t> ThemeColours(const pugi::xml_document& theme) {
  pugi::xml_node scheme = Child(Child(theme.first_child(), "themeElements"), "clrScheme");
  static const std::array<std::string_view, 12> kOrder = {
      "lt1",     "dk1",     "lt2",     "dk2",     "accent1", "accent2",
      "accent3", "accent4", "accent5", "accent6", "hlink",   "folHlink"};
  std::vector<uint32_t> colours;
  for (std::string_view name : kOrder) {
    pugi::xml_node entry = Child(scheme, name);
    pugi::xml_node rgb = Child(entry, "srgbClr"), system = Child(entry, "sysClr");
    const char* hex =
        rgb ? rgb.attribute("val").as_string() : system.attribute("lastClr").as_string();
    if (!entry || std::string_view(hex).size() != 6) return {};
    colours.push_back(static_cast<uint32_t>(std::strtoul(hex, nullptr, 16)));
  }
  return colours;
}

uint32_t Tinted(uint32_t colour, double tint) {
  if (tint == 0) return colour;
  Hsl hsl = ToHsl(colour);
  hsl.l = tint < 0 ? hsl.l * (1 + tint) : hsl.l * (1 - tint) + tint;
  return FromHsl(hsl);
}

}  // namespace tavrin
