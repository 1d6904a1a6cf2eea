#include "io/sheet_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/file_error.h"

namespace tavrin {
namespace {

// The texts of the rows of a whole sheetData.
std::vector<std::string> RowTexts(std::string_view sheetData) {
  SheetRows rows(sheetData, "sheet1.xml");
  std::vector<std::string> texts;
  for (std::string_view text = rows.NextText(); !text.empty(); text = rows.NextText())
    texts.emplace_back(text);
  return texts;
}

// The error message of reading every row, empty when none.
std::string ReadError(std::string_view sheetData) {
  SheetRows rows(sheetData, "sheet1.xml");
  RowXml row;
  pugi::xml_document document;
  try {
    while (rows.Next(row, document)) {
    }
  } catch (const FormatError& error) {
    return error.what();
  }
  return "";
}

TEST(SheetRows, ASheetPartIsSplitAtItsCells) {
  SheetPartSplit split = SplitSheetPart(
      R"(<worksheet><sheetData a=">"><row r="1"/></sheetData><cols/></worksheet>)", "sheet1.xml");
  EXPECT_EQ(split.sheetData, R"(<row r="1"/>)");
  EXPECT_EQ(split.rest, "<worksheet><sheetData/><cols/></worksheet>");
  split = SplitSheetPart("<worksheet><sheetData\n/><cols/></worksheet>", "sheet1.xml");
  EXPECT_EQ(split.sheetData, "");
  EXPECT_EQ(split.rest, "<worksheet><sheetData\n/><cols/></worksheet>");
  split = SplitSheetPart("<worksheet><cols/></worksheet>", "sheet1.xml");
  EXPECT_EQ(split.rest, "<worksheet><cols/></worksheet>");
  EXPECT_THROW(SplitSheetPart("<worksheet><sheetData><row r=\"1\"/>", "sheet1.xml"), FormatError);
}

TEST(SheetRows, RowsAreTakenWhateverEndsTheirName) {
  EXPECT_EQ(RowTexts("<row r=\"1\"/>\n<row>x</row><row/><row\tr=\"4\"></row><row\nr=\"5\"/>"
                     "<row\rr=\"6\"/><!-- <rows> --><row r='7' a='>' b=\"/>\"><c/></row>"),
            (std::vector<std::string>{"<row r=\"1\"/>", "<row>x</row>", "<row/>",
                                      "<row\tr=\"4\"></row>", "<row\nr=\"5\"/>", "<row\rr=\"6\"/>",
                                      "<row r='7' a='>' b=\"/>\"><c/></row>"}));
  EXPECT_EQ(RowTexts("<row r=\"1\"/></sheetData><row r=\"2\"/>"),
            std::vector<std::string>{"<row r=\"1\"/>"});
  EXPECT_EQ(RowTexts(""), std::vector<std::string>{});
}

TEST(SheetRows, RowsAreReadScannedOrParsed) {
  SheetRows rows("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row\rr=\"2\"><c r=\"B2\"/></row>",
                 "sheet1.xml");
  RowXml row;
  pugi::xml_document document;
  ASSERT_TRUE(rows.Next(row, document));
  EXPECT_EQ(row.r, 1);
  EXPECT_EQ(row.cells.at(0).v, "1");
  ASSERT_TRUE(rows.Next(row, document));
  EXPECT_EQ(row.r, 2);
  EXPECT_EQ(row.cells.at(0).r, "B2");
  EXPECT_FALSE(rows.Next(row, document));
  EXPECT_FALSE(rows.Next(row, document));
  EXPECT_EQ(ReadError("<row r=\"1\"><c r=\"A1\"></row>"),
            "sheet1.xml is damaged (Start-end tags mismatch)");
  EXPECT_EQ(ReadError("<row r=\"1\"><c r=\"A1\"/>"), "sheet1.xml is damaged (a row has no end)");
  EXPECT_EQ(ReadError("<row r=\"1\"><c r=\"A1\"/></row>"), "");
}

TEST(SheetRows, AnArrivingPartIsReadAsItComes) {
  const std::vector<std::string> pieces = {
      "<worksheet><sheetDa", "ta><row r=\"1\"><c r=\"A1\"><v>1", "</v></c></row><row r=\"2\"/>",
      "</sheetData><rowBreaks count=\"1\"/><row r=\"9\"/></worksheet>"};
  std::string text;
  size_t arrived = 0;
  auto more = [&] {
    if (arrived == pieces.size()) return false;
    text += pieces[arrived++];
    return true;
  };
  text.reserve(1000);  // rows read point into the text
  size_t from = ArriveAtCells({text, more});
  EXPECT_EQ(from, std::string("<worksheet><sheetData>").size());
  EXPECT_EQ(arrived, 2u) << "no more than the start of the cells is waited for";
  SheetRows rows({text, more}, from, "sheet1.xml");
  EXPECT_EQ(rows.NextText(), "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  EXPECT_EQ(rows.NextText(), "<row r=\"2\"/>");
  EXPECT_EQ(rows.NextText(), "");
  EXPECT_EQ(arrived, pieces.size());

  text.clear();
  arrived = 0;
  const std::vector<std::string> none = {"<worksheet><sheetData/>", "</worksheet>"};
  auto noCells = [&] {
    if (arrived == none.size()) return false;
    text += none[arrived++];
    return true;
  };
  EXPECT_EQ(ArriveAtCells({text, noCells}), std::string::npos);
  EXPECT_EQ(arrived, none.size());
}

}  // namespace
}  // namespace tavrin
