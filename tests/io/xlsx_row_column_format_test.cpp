#include "io_fixture.h"

namespace tavrin {
namespace {

std::string Row(int row, const std::string& attributes) {
  return "<row r=\"" + std::to_string(row) + "\" " + attributes + '>';
}

std::string LibreOfficeRow(int row) {
  return Row(row,
             "customFormat=\"false\" ht=\"15\" hidden=\"false\" customHeight=\"false\" "
             "outlineLevel=\"0\" collapsed=\"false\"");
}

// The sales list with rows 3 and 4 grouped and hidden, row 4 in the date format (cell format
// 3), row 5 closing the collapsed group, row 6 naming a format without customFormat (no row
// format), and columns G:H hidden, grouped and in the date format.
void WriteGroupedSales(const std::filesystem::path& file) {
  const std::string columnF =
      "<col collapsed=\"false\" customWidth=\"true\" hidden=\"false\" outlineLevel=\"0\" "
      "max=\"6\" min=\"6\" style=\"0\" width=\"14\"/>";
  WritePatchedCopy(
      "data/sales-libreoffice.xlsx", file,
      {{"xl/worksheets/sheet1.xml",
        {{LibreOfficeRow(3), Row(3, "ht=\"15\" hidden=\"true\" outlineLevel=\"1\"")},
         {LibreOfficeRow(4),
          Row(4, "s=\"3\" customFormat=\"true\" hidden=\"1\" outlineLevel=\"1\"")},
         {LibreOfficeRow(5), Row(5, "collapsed=\"true\"")},
         {LibreOfficeRow(6), Row(6, "s=\"3\" customFormat=\"false\"")},
         {columnF, columnF + "<col customWidth=\"false\" hidden=\"true\" outlineLevel=\"1\" "
                             "max=\"8\" min=\"7\" style=\"3\" width=\"9\"/>"}}}});
}

const std::map<int, LineFormat> kGroupedRows = {
    {3, {true, 0, 1, false}}, {4, {true, 3, 1, false}}, {5, {false, 0, 0, true}}};
const std::map<int, LineFormat> kGroupedColumns = {{7, {true, 3, 1, false}},
                                                   {8, {true, 3, 1, false}}};

TEST(XlsxRowColumnFormatTest, HiddenStyledAndGroupedRowsAndColumnsSurviveAFreshWrite) {
  TempFolder folder;
  WriteGroupedSales(folder / "in.xlsx");
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(sales.Layout().rowFormats.ByRow(), kGroupedRows);
  EXPECT_EQ(sales.Layout().columnFormats, kGroupedColumns);
  EXPECT_EQ(sales.ColumnWidth(7), Sheet::kDefaultColumnWidth);  // its width is no custom one
  EXPECT_EQ(sales.ColumnWidth(6), 14);
  EXPECT_FALSE(sales.Changed());

  sales.SetValue(sales.Range("B2"), Variant("changed"));
  SaveWorkbook(book, folder / "out.xlsx");
  std::string fresh = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(fresh, PartOf(folder / "in.xlsx", "xl/worksheets/sheet1.xml"));
  EXPECT_NE(fresh.find("outlineLevelRow=\"1\" outlineLevelCol=\"1\""), std::string::npos);
  EXPECT_NE(fresh.find("<col min=\"6\" max=\"6\" width=\"14\" customWidth=\"1\"/>"
                       "<col min=\"7\" max=\"8\" style=\"3\" hidden=\"1\" outlineLevel=\"1\"/>"),
            std::string::npos);

  Spreadsheet again;
  Sheet& back = OpenWorkbook(again, folder / "out.xlsx").GetSheet(1);
  EXPECT_EQ(ValueAt(back, "B2"), Variant("changed"));
  EXPECT_EQ(back.Layout().rowFormats.ByRow(), kGroupedRows);
  EXPECT_EQ(back.Layout().columnFormats, kGroupedColumns);
  EXPECT_EQ(back.ColumnWidth(6), 14);
  EXPECT_EQ(back.ColumnWidth(7), Sheet::kDefaultColumnWidth);

  std::string seen = ReadWithOpenpyxl(folder / "out.xlsx", "B2");
  if (seen.empty()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
  EXPECT_NE(seen.find("销售 B2 'changed'\n"
                      "销售 merged ['H1:I1']\n"
                      "销售 titles $1:$1\n"
                      "销售 height 24.0\n"
                      "销售 width 12.0\n"
                      "销售 row 3 hidden level 1 open None\n"
                      "销售 row 4 hidden level 1 open yyyy\\-mm\\-dd\n"
                      "销售 row 5 shown level 0 collapsed None\n"
                      "销售 column G 7-8 hidden level 1 open yyyy\\-mm\\-dd\n"),
            std::string::npos)
      << seen;
}

// A row or column format naming a cell format past those the file has (the sales list has five)
// is written without it, as a cell's would be.
TEST(XlsxRowColumnFormatTest, AFormatNamingNoCellFormatOfTheFileIsWrittenWithoutIt) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, "data/sales-libreoffice.xlsx");
  Sheet& sales = book.GetSheet(1);
  sales.EditLayout([](SheetLayout& layout) {
    layout.rowFormats.Set(200, {true, 4, 0, false});
    layout.rowFormats.Set(201, {true, 5, 0, false});
    layout.columnFormats[10] = {true, 5, 0, false};
  });
  SaveWorkbook(book, folder / "out.xlsx");
  std::string fresh = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(fresh.find("<row r=\"200\" s=\"4\" customFormat=\"1\" hidden=\"1\""), std::string::npos)
      << fresh;
  EXPECT_NE(fresh.find("<row r=\"201\" hidden=\"1\""), std::string::npos) << fresh;
  EXPECT_NE(fresh.find("<col min=\"10\" max=\"10\" hidden=\"1\"/>"), std::string::npos) << fresh;
}

TEST(XlsxRowColumnFormatTest, RowFormatsMoveWithTheirRowsAndFollowASheetCopy) {
  TempFolder folder;
  WriteGroupedSales(folder / "in.xlsx");
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  Sheet& sales = book.GetSheet(1);
  Variant hiddenDate = ValueAt(sales, "A3");
  sales.Insert(sales.Range("2:3"), xlShiftDown);  // two rows above the hidden ones
  EXPECT_EQ(sales.Layout().rowFormats.ByRow(),
            (std::map<int, LineFormat>{
                {5, {true, 0, 1, false}}, {6, {true, 3, 1, false}}, {7, {false, 0, 0, true}}}));
  EXPECT_EQ(ValueAt(sales, "A5"), hiddenDate);
  sales.Delete(sales.Range("6:6"), xlShiftUp);  // the hidden styled row goes with its format
  const std::map<int, LineFormat> left = {{5, {true, 0, 1, false}}, {6, {false, 0, 0, true}}};
  EXPECT_EQ(sales.Layout().rowFormats.ByRow(), left);

  book.CopySheet(sales, book.GetSheet(2));
  SaveWorkbook(book, folder / "out.xlsx");
  Spreadsheet again;
  Book& back = OpenWorkbook(again, folder / "out.xlsx");
  EXPECT_EQ(back.GetSheet(1).Layout().rowFormats.ByRow(), left);
  EXPECT_EQ(back.GetSheet(3).Layout().rowFormats.ByRow(), left);
  EXPECT_EQ(back.GetSheet(3).Layout().columnFormats, kGroupedColumns);
  EXPECT_EQ(ValueAt(back.GetSheet(1), "A5"), hiddenDate);
}

}  // namespace
}  // namespace tavrin
