#include "spreadsheet/text_compare.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

// Texts are read as views of a longer text (a cell's text inside a shared-strings part), so
// a comparison that reads one character past either end shows here.
std::string_view Cut(const std::string& text, size_t length) {
  return std::string_view(text).substr(0, length);
}

TEST(TextCompareTest, ComparingIgnoringCaseReadsNoFurtherThanEitherText) {
  const std::string abd = "abd", abb = "abb";
  EXPECT_EQ(CompareIgnoringCase("ABC", Cut(abd, 2)), 1) << "the longer text is later";
  EXPECT_EQ(CompareIgnoringCase(Cut(abb, 2), "abc"), -1);
  EXPECT_EQ(CompareIgnoringCase(Cut(abd, 2), "abc"), -1) << "whatever follows the shorter one";
  EXPECT_EQ(CompareIgnoringCase(Cut(abd, 2), Cut(abb, 2)), 0);
  EXPECT_TRUE(EqualsIgnoringCase("Äb", Cut("äBx", 3)));
  EXPECT_FALSE(EqualsIgnoringCase("ä", Cut("äBx", 3)));
  EXPECT_EQ(CompareIgnoringCase("", Cut(abd, 0)), 0);
}

TEST(TextCompareTest, TheSortOrderPutsLatinBeforeChineseAndIgnoresCase) {
  EXPECT_EQ(CollateIgnoringCase("Zebra", "apple"), 1);
  EXPECT_EQ(CollateIgnoringCase("APPLE", "apple"), 0);
  EXPECT_EQ(CollateIgnoringCase("zoo", "啊"), -1);
  EXPECT_EQ(CollateIgnoringCase("北京", "上海"), -1) << "bei before shang";
  EXPECT_EQ(CollateIgnoringCase("a", "ä"), -1);
  const std::string cities = "北京上海";
  EXPECT_EQ(CollateIgnoringCase(Cut(cities, 3), "北"), 0);
}

}  // namespace
}  // namespace tavrin
