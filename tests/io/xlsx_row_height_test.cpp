#include "io_fixture.h"

namespace tavrin {
namespace {

std::string LibreOfficeRow(int row, const char* height, const char* hidden, const char* custom) {
  return "<row r=\"" + std::to_string(row) + "\" customFormat=\"false\" ht=\"" + height +
         "\" hidden=\"" + hidden + "\" customHeight=\"" + custom +
         "\" outlineLevel=\"0\" collapsed=\"false\">";
}

// The LibreOffice list (A4, one-inch margins, row 1 repeated and 24 points high, a manual break
// above row 61, every other row stored as 15 points without customHeight, the sheet's default
// 15 points) with row 3 fitted to 30 points and row 5 hidden.
void WriteTallAndHiddenRows(const std::filesystem::path& file) {
  WritePatchedCopy(
      "data/sales-libreoffice.xlsx", file,
      {{"xl/worksheets/sheet1.xml",
        {{LibreOfficeRow(3, "15", "false", "false"), LibreOfficeRow(3, "30", "false", "false")},
         {LibreOfficeRow(5, "15", "false", "false"), LibreOfficeRow(5, "15", "true", "false")}}}});
}

std::vector<int> BreakRows(Sheet& sheet) {
  std::vector<int> rows;
  HPageBreaks& breaks = sheet.HPageBreaks();
  for (int i = 1; i <= breaks.Count(); ++i) rows.push_back(breaks.Item(i).Location().Row());
  return rows;
}

const std::map<int, StoredRowHeight> kOwnHeights = {{1, {24, false}}, {3, {30, true}}};

TEST(XlsxRowHeightTest, StoredHeightsCountWithoutCustomHeightAndTheSheetsDefaultPagesTheRest) {
  TempFolder folder;
  WriteTallAndHiddenRows(folder / "in.xlsx");
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(sales.DefaultRowHeight(), 15);
  EXPECT_EQ(sales.RowHeights().ByRow(), kOwnHeights) << "rows of the default height need none";
  EXPECT_EQ(sales.RowHeight(3), 30);
  EXPECT_EQ(sales.RowHeight(4), 15);
  // 697.89 points a page: rows 1 to 45 (24 + 30 + 42 rows of 15, row 5 hidden); the manual
  // break; then the title row and 44 rows.
  EXPECT_EQ(BreakRows(sales), (std::vector<int>{46, 61, 105}));

  book.CopySheet(sales, book.GetSheet(2));
  Sheet& copy = book.GetSheet(3);
  EXPECT_EQ(copy.DefaultRowHeight(), 15);
  EXPECT_EQ(copy.RowHeights().ByRow(), kOwnHeights);
  EXPECT_EQ(BreakRows(copy), BreakRows(sales));
}

TEST(XlsxRowHeightTest, AChangedSheetWritesItsDefaultAndFittedHeightsBack) {
  TempFolder folder;
  WriteTallAndHiddenRows(folder / "in.xlsx");
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  Sheet& sales = book.GetSheet(1);
  sales.SetValue(sales.Range("B2"), Variant("changed"));
  sales.SetRowHeight(7, 40);
  book.CopySheet(sales, book.GetSheet(2));
  SaveWorkbook(book, folder / "out.xlsx");

  std::string fresh = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(fresh.find("defaultRowHeight=\"15\""), std::string::npos);
  EXPECT_NE(fresh.find("<row r=\"1\" ht=\"24\" customHeight=\"1\">"), std::string::npos);
  EXPECT_NE(fresh.find("<row r=\"3\" ht=\"30\">"), std::string::npos)
      << "a fitted height stays one the host fits";
  EXPECT_NE(fresh.find("<row r=\"5\" hidden=\"1\">"), std::string::npos);

  Spreadsheet again;
  Book& back = OpenWorkbook(again, folder / "out.xlsx");
  std::map<int, StoredRowHeight> heights = kOwnHeights;
  heights[7] = {40, false};
  for (int sheet : {1, 3}) {
    EXPECT_EQ(back.GetSheet(sheet).DefaultRowHeight(), 15);
    EXPECT_EQ(back.GetSheet(sheet).RowHeights().ByRow(), heights) << sheet;
    EXPECT_TRUE(back.GetSheet(sheet).Layout().rowFormats.Find(5)->hidden);
  }
  EXPECT_EQ(BreakRows(back.GetSheet(1)), BreakRows(sales));
}

// A default of 0 (or one past the host's largest height) is no default: the sheet keeps the
// host's own, and the rows stored at 15 points keep theirs as fitted heights.
TEST(XlsxRowHeightTest, ADefaultHeightOfZeroOrPastTheLargestLeavesTheHostsDefault) {
  for (const char* height : {"0", "409.6"}) {
    TempFolder folder;
    WritePatchedCopy(
        "data/sales-libreoffice.xlsx", folder / "in.xlsx",
        {{"xl/worksheets/sheet1.xml",
          {{"defaultRowHeight=\"15\"", std::string("defaultRowHeight=\"") + height + "\""}}}});
    Spreadsheet app;
    Sheet& sales = OpenWorkbook(app, folder / "in.xlsx").GetSheet(1);
    EXPECT_EQ(sales.DefaultRowHeight(), Sheet::kDefaultRowHeight) << height;
    EXPECT_EQ(sales.RowHeight(4), 15) << height;
    EXPECT_EQ(sales.RowHeight(2000), Sheet::kDefaultRowHeight) << height;
  }
}

}  // namespace
}  // namespace tavrin
