#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/address.h"
#include "host/reference_text.h"

namespace tavrin {
namespace {

// The corner at the front of a text and the characters it takes, as "row,column,$$:length".
std::string Corner(std::string_view text, int lastRow = kLastRow, int lastColumn = kLastColumn) {
  A1Corner corner;
  size_t length = ReadA1Corner(text, corner, lastRow, lastColumn);
  if (length == 0) return "none";
  return std::to_string(corner.row) + "," + std::to_string(corner.column) + "," +
         (corner.rowAbsolute ? "$" : "-") + (corner.columnAbsolute ? "$" : "-") + ":" +
         std::to_string(length);
}

std::string Coordinate(std::string_view text, char letter, int last) {
  R1C1Coordinate coordinate;
  size_t length = ReadR1C1Coordinate(text, letter, last, coordinate);
  if (length == 0) return "none";
  return std::to_string(coordinate.value) + (coordinate.absolute ? "$" : "") + ":" +
         std::to_string(length);
}

TEST(ReferenceText, ReadsCellsColumnsAndRowsUpToWhatFollows) {
  EXPECT_EQ(Corner("B12"), "12,2,--:3");
  EXPECT_EQ(Corner("$b$12:C3"), "12,2,$$:5");
  EXPECT_EQ(Corner("B$12)"), "12,2,$-:4");
  EXPECT_EQ(Corner("$IV:$IV"), "0,256,-$:3");
  EXPECT_EQ(Corner("$5:$7"), "5,0,$-:2");
  EXPECT_EQ(Corner("A0000001"), "1,1,--:8");
}

// A corner given as part of a longer text is read to its own end, never past it.
TEST(ReferenceText, ReadsOnlyTheTextItIsGiven) {
  EXPECT_EQ(Corner(std::string_view("BC1").substr(0, 1)), "0,2,--:1");
  EXPECT_EQ(Corner(std::string_view("B12").substr(0, 2)), "1,2,--:2");
  EXPECT_EQ(Corner(std::string_view("B$1").substr(0, 1)), "0,2,--:1");
  EXPECT_EQ(Coordinate(std::string_view("R[1]").substr(0, 1), 'R', kLastRow), "0:1");
  EXPECT_EQ(SheetPrefix(std::string_view("RC").substr(0, 1)), "'R'!");
  EXPECT_EQ(SheetPrefix(std::string_view("R2").substr(0, 1)), "'R'!");
  EXPECT_EQ(SheetPrefix(std::string_view("A12").substr(0, 2)), "'A1'!");
}

TEST(ReferenceText, RefusesWhatTheSheetCannotHoldWithoutOverflowing) {
  for (std::string_view text : {"", "$", "A$", "$A$", "$$1", "A0", "A65537", "IW1", "LOG10",
                                "A99999999999999999999", "ABCDEFGHIJKLMNOP1", "(A1)"}) {
    EXPECT_EQ(Corner(text), "none") << text;
  }
  // The same texts on the largest sheet a file describes.
  EXPECT_EQ(Corner("IW1", kFileLastRow, kFileLastColumn), "1,257,--:3");
  EXPECT_EQ(Corner("XFD1048576", kFileLastRow, kFileLastColumn), "1048576,16384,--:10");
  EXPECT_EQ(Corner("XFE1", kFileLastRow, kFileLastColumn), "none");
}

TEST(ReferenceText, ReadsR1C1CoordinatesAbsoluteAndRelative) {
  EXPECT_EQ(Coordinate("R2C3", 'R', kLastRow), "2$:2");
  EXPECT_EQ(Coordinate("r[-1]C", 'R', kLastRow), "-1:5");
  EXPECT_EQ(Coordinate("C[+2]", 'C', kLastColumn), "2:5");
  EXPECT_EQ(Coordinate("RC", 'R', kLastRow), "0:1");
  EXPECT_EQ(Coordinate("C256", 'C', kLastColumn), "256$:4");
  EXPECT_EQ(Coordinate("C1", 'C', kLastColumn), "1$:2");
  for (std::string_view text : {"C0", "C257", "C[256]", "C[-256]", "C[]", "C[1", "C[1x", "R1"}) {
    EXPECT_EQ(Coordinate(text, 'C', kLastColumn), "none") << text;
  }
}

// The table of sheet names the page's rule is checked against too: (name, prefix) pairs.
std::vector<std::pair<std::string, std::string>> SheetPrefixTable() {
  std::vector<std::pair<std::string, std::string>> rows;
  std::ifstream file("data/sheet-prefixes.tsv");
  for (std::string line; std::getline(file, line);) {
    size_t tab = line.find('\t');
    if (line.starts_with("#") || tab == std::string::npos) continue;
    rows.emplace_back(line.substr(0, tab), line.substr(tab + 1));
  }
  return rows;
}

// Every name is written as the table says, and what is written reads back as the same sheet.
TEST(ReferenceText, WritesSheetNamesAsTheTableOfTheHostAndThePageSays) {
  std::vector<std::pair<std::string, std::string>> table = SheetPrefixTable();
  ASSERT_GE(table.size(), 30u);
  for (const auto& [name, prefix] : table) {
    EXPECT_EQ(SheetPrefix(name), prefix) << name;
    if (name.empty()) continue;
    std::optional<ParsedAddress> read = ParseAddress(prefix + "B2");
    ASSERT_TRUE(read) << prefix;
    EXPECT_EQ(read->sheet, name);
  }
}

}  // namespace
}  // namespace tavrin
