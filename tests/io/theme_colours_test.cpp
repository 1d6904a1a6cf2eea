#include "io/theme_colours.h"

#include "io/cell_looks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace tavrin {
namespace {

constexpr char kTheme[] =
    "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\"><a:themeElements>"
    "<a:clrScheme name=\"Office\"><a:dk1><a:sysClr val=\"windowText\" lastClr=\"000000\"/></a:dk1>"
    "<a:lt1><a:sysClr val=\"window\" lastClr=\"FFFFFF\"/></a:lt1>"
    "<a:dk2><a:srgbClr val=\"44546A\"/></a:dk2><a:lt2><a:srgbClr val=\"E7E6E6\"/></a:lt2>"
    "<a:accent1><a:srgbClr val=\"4472C4\"/></a:accent1><a:accent2><a:srgbClr val=\"ED7D31\"/>"
    "</a:accent2><a:accent3><a:srgbClr val=\"A5A5A5\"/></a:accent3><a:accent4><a:srgbClr "
    "val=\"FFC000\"/></a:accent4><a:accent5><a:srgbClr val=\"5B9BD5\"/></a:accent5><a:accent6>"
    "<a:srgbClr val=\"70AD47\"/></a:accent6><a:hlink><a:srgbClr val=\"0563C1\"/></a:hlink>"
    "<a:folHlink><a:srgbClr "
    "val=\"954F72\"/></a:folHlink></a:clrScheme></a:themeElements></a:theme>";

// Each channel of two colours within two steps of each other.
bool Near(uint32_t a, uint32_t b) {
  for (int shift : {16, 8, 0}) {
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
      return false;
  }
  return true;
}

TEST(ThemeColoursTest, TheSchemeIsCountedLightFirstAndTintsLightenOrDarken) {
  pugi::xml_document theme;
  ASSERT_TRUE(theme.load_string(kTheme));
  std::vector<uint32_t> colours = ThemeColours(theme);
  ASSERT_EQ(colours.size(), 12u);
  EXPECT_EQ(colours[0], 0xFFFFFFu);
  EXPECT_EQ(colours[1], 0x000000u);
  EXPECT_EQ(colours[4], 0x4472C4u);
  // The host's "accent 1, 80% lighter" and "25% darker" of its standard theme.
  EXPECT_PRED2(Near, Tinted(0x4472C4, 0.7999816888943144), 0xD9E1F2u);
  EXPECT_PRED2(Near, Tinted(0x4472C4, -0.249977111117893), 0x2F5597u);
  EXPECT_TRUE(ThemeColours(pugi::xml_document()).empty());
  // Grays, and hues on either side of red, as the host tints its standard colours.
  EXPECT_PRED2(Near, Tinted(0xFFFFFF, -0.0499893185216834), 0xF2F2F2u);
  EXPECT_PRED2(Near, Tinted(0x000000, 0.499984740745262), 0x7F7F7Fu);
  EXPECT_PRED2(Near, Tinted(0xED7D31, 0.7999816888943144), 0xFBE5D6u);
  EXPECT_PRED2(Near, Tinted(0xED7D31, -0.249977111117893), 0xC55A11u);
  EXPECT_PRED2(Near, Tinted(0x70AD47, -0.249977111117893), 0x548235u);
  EXPECT_PRED2(Near, Tinted(0x954F72, 0.4), 0xC490AAu);
  std::string shortHex = kTheme;
  shortHex.replace(shortHex.find("44546A"), 6, "445");
  ASSERT_TRUE(theme.load_string(shortHex.c_str()));
  EXPECT_TRUE(ThemeColours(theme).empty()) << "a colour of three digits";
}

TEST(ThemeColoursTest, AFillNamesAThemeColourByItsPlaceAndOnePastTheSchemeIsNone) {
  pugi::xml_document theme;
  ASSERT_TRUE(theme.load_string(kTheme));
  pugi::xml_document styles;
  ASSERT_TRUE(styles.load_string(
      "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><fills>"
      "<fill><patternFill patternType=\"solid\"><fgColor theme=\"4\"/></patternFill></fill>"
      "<fill><patternFill patternType=\"solid\"><fgColor theme=\"11\"/></patternFill></fill>"
      "<fill><patternFill patternType=\"solid\"><fgColor theme=\"12\"/></patternFill></fill>"
      "</fills><cellXfs><xf fillId=\"0\"/><xf fillId=\"1\"/><xf fillId=\"2\"/></cellXfs>"
      "</styleSheet>"));
  std::vector<CellLook> looks = CellLooks(styles, theme);
  ASSERT_EQ(looks.size(), 3u);
  EXPECT_EQ(looks[0].FillText(), "#4472C4");
  EXPECT_EQ(looks[1].FillText(), "#954F72");
  EXPECT_EQ(looks[2].FillText(), "");
}

}  // namespace
}  // namespace tavrin
