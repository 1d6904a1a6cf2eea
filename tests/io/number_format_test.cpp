#include <gtest/gtest.h>

#include "io/number_format.h"

namespace tavrin {
namespace {

TEST(NumberFormatTest, DatesAreKnownByTheirCodesOutsideQuotesAndBrackets) {
  EXPECT_TRUE(IsDateFormat("yyyy\\-mm\\-dd"));
  EXPECT_TRUE(IsDateFormat("[$-804]yyyy\"年\"m\"月\""));
  EXPECT_TRUE(IsDateFormat("[h]:mm:ss"));
  EXPECT_FALSE(IsDateFormat("General"));
  EXPECT_FALSE(IsDateFormat("0.00E+00"));
  EXPECT_FALSE(IsDateFormat("#,##0\"days\""));
  EXPECT_FALSE(IsDateFormat("[Red]0.00;\\d0"));
  EXPECT_TRUE(IsDateFormatId(14));
  EXPECT_TRUE(IsDateFormatId(31));
  EXPECT_FALSE(IsDateFormatId(0));
  EXPECT_FALSE(IsDateFormatId(49));
  // The built-in ends of each run of date and time formats: m/d/yy h:mm and mm:ss.0.
  EXPECT_TRUE(IsDateFormatId(22));
  pugi::xml_document styles;
  styles.load_string(
      "<styleSheet><cellXfs><xf numFmtId=\"22\"/><xf numFmtId=\"47\"/><xf numFmtId=\"45\"/>"
      "</cellXfs></styleSheet>");
  EXPECT_EQ(CalendarStyles(styles), (std::vector<bool>{true, false, false}));
}

}  // namespace
}  // namespace tavrin
