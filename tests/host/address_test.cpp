#include <gtest/gtest.h>

#include "host/address.h"

namespace tavrin {
namespace {

// The single area of an address on no sheet, or a failure naming the text.
Area Single(std::string_view text) {
  std::optional<ParsedAddress> parsed = ParseAddress(text);
  if (!parsed) {
    ADD_FAILURE() << "no address: " << text;
    return {};
  }
  EXPECT_EQ(parsed->sheet, "") << text;
  EXPECT_EQ(parsed->areas.size(), 1u) << text;
  return parsed->areas.front();
}

TEST(ColumnLetters, CountsInLettersLikeTheColumnHeadings) {
  EXPECT_EQ(ColumnLetters(1), "A");
  EXPECT_EQ(ColumnLetters(26), "Z");
  EXPECT_EQ(ColumnLetters(27), "AA");
  EXPECT_EQ(ColumnLetters(52), "AZ");
  EXPECT_EQ(ColumnLetters(53), "BA");
  EXPECT_EQ(ColumnLetters(256), "IV");
  EXPECT_EQ(ColumnLetters(702), "ZZ");
  EXPECT_EQ(ColumnLetters(703), "AAA");
}

TEST(AreaAddress, WritesTheHostsAbsoluteForm) {
  EXPECT_EQ(AreaAddress({1, 1, 1, 1}), "$A$1");
  EXPECT_EQ(AreaAddress({2, 3, 1, 1}), "$C$2");
  EXPECT_EQ(AreaAddress({1, 1, 2, 2}), "$A$1:$B$2");
  EXPECT_EQ(AreaAddress({5, 2, 1, 3}), "$B$5:$D$5");
  EXPECT_EQ(AreaAddress({65536, 256, 1, 1}), "$IV$65536");
  EXPECT_EQ(AreaAddress({1, 1, kLastRow, 3}), "$A:$C");
  EXPECT_EQ(AreaAddress({1, 4, kLastRow, 1}), "$D:$D");
  EXPECT_EQ(AreaAddress({3, 1, 1, kLastColumn}), "$3:$3");
  EXPECT_EQ(AreaAddress({3, 1, 3, kLastColumn}), "$3:$5");
  EXPECT_EQ(AreaAddress({1, 1, kLastRow, kLastColumn}), "$1:$65536");
  // Not all rows from the top: an ordinary range.
  EXPECT_EQ(AreaAddress({2, 1, kLastRow - 1, 1}), "$A$2:$A$65536");
}

TEST(ParseAddress, ReadsCellsAbsoluteRelativeAndMixed) {
  EXPECT_EQ(Single("A1"), (Area{1, 1, 1, 1}));
  EXPECT_EQ(Single("B2"), (Area{2, 2, 1, 1}));
  EXPECT_EQ(Single("$B$2"), (Area{2, 2, 1, 1}));
  EXPECT_EQ(Single("B$2"), (Area{2, 2, 1, 1}));
  EXPECT_EQ(Single("$B2"), (Area{2, 2, 1, 1}));
  EXPECT_EQ(Single("iv65536"), (Area{65536, 256, 1, 1}));
  EXPECT_EQ(Single("aB12"), (Area{12, 28, 1, 1}));
  EXPECT_EQ(Single("  C3\t"), (Area{3, 3, 1, 1}));
}

TEST(ParseAddress, NormalisesRangeCornersToTopLeftAndBottomRight) {
  EXPECT_EQ(Single("A1:C9"), (Area{1, 1, 9, 3}));
  EXPECT_EQ(Single("$B$2:C9"), (Area{2, 2, 8, 2}));
  EXPECT_EQ(Single("C9:A1"), (Area{1, 1, 9, 3}));
  EXPECT_EQ(Single("A9:C1"), (Area{1, 1, 9, 3}));
  EXPECT_EQ(Single("B2:B2"), (Area{2, 2, 1, 1}));
}

TEST(ParseAddress, ReadsWholeColumnsAndRows) {
  EXPECT_EQ(Single("A:C"), (Area{1, 1, kLastRow, 3}));
  EXPECT_EQ(Single("$A:$A"), (Area{1, 1, kLastRow, 1}));
  EXPECT_EQ(Single("D:b"), (Area{1, 2, kLastRow, 3}));
  EXPECT_EQ(Single("3:5"), (Area{3, 1, 3, kLastColumn}));
  EXPECT_EQ(Single("$3:$3"), (Area{3, 1, 1, kLastColumn}));
  EXPECT_EQ(Single("9:2"), (Area{2, 1, 8, kLastColumn}));
  EXPECT_EQ(Single("1:65536"), (Area{1, 1, kLastRow, kLastColumn}));
}

TEST(ParseAddress, ReadsSheetNamesPlainAndQuoted) {
  auto parsed = ParseAddress("Sheet1!A1");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "Sheet1");
  EXPECT_EQ(parsed->areas, (std::vector<Area>{{1, 1, 1, 1}}));

  parsed = ParseAddress("'My sheet'!A1:B2");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "My sheet");
  EXPECT_EQ(parsed->areas, (std::vector<Area>{{1, 1, 2, 2}}));

  parsed = ParseAddress("'It''s'!$A:$B");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "It's");
  EXPECT_EQ(parsed->areas, (std::vector<Area>{{1, 1, kLastRow, 2}}));

  parsed = ParseAddress("'a,b!c'!C3");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "a,b!c");

  parsed = ParseAddress("数据!B2");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "数据");
  EXPECT_EQ(parsed->areas, (std::vector<Area>{{2, 2, 1, 1}}));
}

TEST(ParseAddress, ReadsSeveralAreasOnOneSheet) {
  auto parsed = ParseAddress("A1,C3:D4");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "");
  EXPECT_EQ(parsed->areas, (std::vector<Area>{{1, 1, 1, 1}, {3, 3, 2, 2}}));

  parsed = ParseAddress("Sheet1!A1,Sheet1!B2");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "Sheet1");
  EXPECT_EQ(parsed->areas, (std::vector<Area>{{1, 1, 1, 1}, {2, 2, 1, 1}}));

  parsed = ParseAddress("Sheet1!$A$1:$A$3,sheet1!$1:$1, B:B");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "Sheet1");
  EXPECT_EQ(parsed->areas.size(), 3u);

  // A part without a sheet lies on the sheet the others name.
  parsed = ParseAddress("A1,'S 2'!B2");
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->sheet, "S 2");

  EXPECT_FALSE(ParseAddress("Sheet1!A1,Sheet2!B2"));
}

TEST(ParseAddress, RejectsWhatIsNoAddress) {
  for (const char* text : {"",           "   ",        "abc",
                           "A0",         "A",          "1",
                           "$A",         "$1",         "IW1",
                           "A65537",     "AAA1",       "A99999999999",
                           "1+1",        "A1:",        ":A1",
                           "A1:B",       "A:1",        "1:A",
                           "A1:B2:C3",   "$$A1",       "A$$1",
                           "A$",         "A1$",        "A$:C",
                           "$A$:$C",     "A 1",        "A1 B2",
                           "A1,",        ",A1",        "A1,,B2",
                           "=A1",        "A1!",        "Sheet1!",
                           "!A1",        "''!A1",      "'Sheet1!A1",
                           "'Sheet1'A1", "Sheet 1!A1", "[Book1]Sheet1!A1",
                           "R1C1",       "A1.5",       "IV65536:IV65537",
                           "-A1"}) {
    EXPECT_FALSE(ParseAddress(text)) << '"' << text << '"';
  }
  // A range needs both its corners, whole rows and columns too.
  for (const char* text : {"1:", "A:", ":1", ":A"}) {
    EXPECT_FALSE(ParseAddress(text)) << '"' << text << '"';
  }
}

// An address given as part of a longer text is read to its own end, never past it.
TEST(ParseAddress, ReadsOnlyTheTextItIsGiven) {
  EXPECT_EQ(Single(std::string_view("A1x!").substr(0, 2)), (Area{1, 1, 1, 1}));
}

TEST(ParseAddress, RoundTripsTheHostsOwnAddresses) {
  for (const Area& area : {Area{1, 1, 1, 1}, Area{7, 30, 4, 5}, Area{1, 3, kLastRow, 2},
                           Area{10, 1, 6, kLastColumn}, Area{65536, 256, 1, 1}}) {
    EXPECT_EQ(Single(AreaAddress(area)), area) << AreaAddress(area);
  }
}

}  // namespace
}  // namespace tavrin
