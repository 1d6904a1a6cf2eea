#include <algorithm>
#include <map>
#include <tuple>

#include "io_fixture.h"

namespace tavrin {
namespace {

constexpr char kLibreOffice[] = "data/sales-libreoffice.xlsx";

// Every cell holding content or a style, with its value, formula text and style.
std::map<std::pair<int, int>, std::tuple<Variant, std::string, uint32_t>> CellsOf(
    const Sheet& sheet) {
  std::map<std::pair<int, int>, std::tuple<Variant, std::string, uint32_t>> cells;
  sheet.Store().ForEach(
      Area{1, 1, kLastRow, kLastColumn}, [&](int row, int column, const Cell& cell) {
        if (cell.IsBlank()) return;
        cells[{row, column}] = {
            cell.value, cell.formula ? FormulaText(*cell.formula, row, column) : "", cell.style};
      });
  return cells;
}

void ExpectSameCells(const Sheet& read, const Sheet& written) {
  EXPECT_EQ(CellsOf(read), CellsOf(written));
}

void ExpectSameLayout(Sheet& read, Sheet& written) {
  EXPECT_EQ(read.Layout().mergedCells, written.Layout().mergedCells);
  EXPECT_EQ(read.Layout().manualRowBreaks, written.Layout().manualRowBreaks);
  EXPECT_EQ(read.Layout().margins, written.Layout().margins);
  EXPECT_EQ(read.Layout().paperSize, written.Layout().paperSize);
  EXPECT_EQ(read.PageSetup().PrintTitleRows(), written.PageSetup().PrintTitleRows());
  EXPECT_EQ(read.RowHeight(1), written.RowHeight(1));
  EXPECT_EQ(read.ColumnWidth(6), written.ColumnWidth(6));
}

TEST(XlsxRoundTripTest, UnchangedWorkbookComesBackWithItsSheetsByteForByte) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  SaveWorkbook(book, folder / "out.xlsx");
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"out.xlsx"});
  for (const char* part : {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/styles.xml",
                           "xl/sharedStrings.xml", "docProps/custom.xml"}) {
    EXPECT_EQ(PartOf(folder / "out.xlsx", part), PartOf(kLibreOffice, part)) << part;
  }
  std::string workbook = PartOf(folder / "out.xlsx", "xl/workbook.xml");
  EXPECT_NE(workbook.find("fullCalcOnLoad=\"1\""), std::string::npos);
  EXPECT_NE(workbook.find(">销售!$1:$1</definedName>"), std::string::npos);

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "out.xlsx");
  for (int i = 1; i <= 2; ++i) {
    ExpectSameCells(book.GetSheet(i), reread.GetSheet(i));
    ExpectSameLayout(book.GetSheet(i), reread.GetSheet(i));
  }
}

// A sheet of over a MB is read as its part is inflated; unchanged, it still goes back byte for
// byte, and changed, it is written fresh with every cell.
TEST(XlsxRoundTripTest, ALargeSheetReadAsItIsInflatedComesBackAsTheSmallOnesDo) {
  TempFolder folder;
  {
    Spreadsheet app;
    Sheet& sheet = app.AddWorkbook("large").AddSheet("List");
    for (int r = 1; r <= 20000; ++r) {
      sheet.Store().SetContent(r, 1, Variant("record " + std::to_string(r)), nullptr);
      sheet.Store().SetContent(r, 2, Variant(r * 0.5), nullptr);
    }
    SaveWorkbook(sheet.Parent(), folder / "large.xlsx");
  }
  const char* part = "xl/worksheets/sheet1.xml";
  ASSERT_GT(PartOf(folder / "large.xlsx", part).size(), size_t{1} << 20);
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "large.xlsx");
  SaveWorkbook(book, folder / "unchanged.xlsx");
  EXPECT_TRUE(PartOf(folder / "unchanged.xlsx", part) == PartOf(folder / "large.xlsx", part));
  book.GetSheet(1).Range("C1").SetValue(Variant("changed"));
  SaveWorkbook(book, folder / "changed.xlsx");
  Spreadsheet again;
  Sheet& reread = OpenWorkbook(again, folder / "changed.xlsx").GetSheet(1);
  ExpectSameCells(book.GetSheet(1), reread);
}

TEST(XlsxRoundTripTest, ChangedSheetIsWrittenFreshKeepingWhatTheModelDoesNotHold) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  Sheet& sales = book.GetSheet(1);
  sales.SetValue(sales.Range("B2"), Variant("华西 & <北>"));
  sales.SetFormula(sales.Range("G2"), "=F2*2");
  sales.EditLayout([&](SheetLayout& layout) { layout.manualRowBreaks.push_back(101); });
  sales.EditLayout([&](SheetLayout& layout) { layout.orientation = PageOrientation::Landscape; });
  SaveWorkbook(book, folder / "out.xlsx");

  std::string fresh = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(fresh, PartOf(kLibreOffice, "xl/worksheets/sheet1.xml"));
  EXPECT_NE(fresh.find("<headerFooter"), std::string::npos);  // carried from the original
  EXPECT_NE(fresh.find("horizontalDpi=\"300\""), std::string::npos);
  EXPECT_EQ(PartOf(folder / "out.xlsx", "xl/worksheets/sheet2.xml"),
            PartOf(kLibreOffice, "xl/worksheets/sheet2.xml"));

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "out.xlsx");
  Sheet& back = reread.GetSheet(1);
  EXPECT_EQ(ValueAt(back, "B2"), Variant("华西 & <北>"));
  EXPECT_EQ(FormulaAt(back, "G2"), "=F2*2");
  EXPECT_EQ(back.Layout().manualRowBreaks, (std::vector<int>{61, 101}));
  EXPECT_EQ(back.Layout().orientation, PageOrientation::Landscape);
  ExpectSameCells(sales, back);
  ExpectSameLayout(sales, back);
}

// Merges and breaks the original did not have are written where their elements belong among
// those carried over, or the host refuses the file.
TEST(XlsxRoundTripTest, ElementsTheOriginalLackedGoInTheirPlaceAmongThoseCarried) {
  TempFolder folder;
  WritePatchedCopy(kLibreOffice, folder / "bare.xlsx",
                   {{"xl/worksheets/sheet1.xml",
                     {{"<mergeCells count=\"1\"><mergeCell ref=\"H1:I1\"/></mergeCells>", ""},
                      {"<rowBreaks count=\"1\" manualBreakCount=\"1\"><brk id=\"60\" man=\"true\" "
                       "max=\"16383\" min=\"0\"/></rowBreaks>",
                       ""}}}});
  Spreadsheet app;
  Sheet& sales = OpenWorkbook(app, folder / "bare.xlsx").GetSheet(1);
  ASSERT_TRUE(sales.Layout().mergedCells.empty());
  sales.EditLayout([](SheetLayout& layout) {
    layout.mergedCells.push_back(Area{1, 8, 1, 2});
    layout.manualRowBreaks.push_back(40);
  });
  SaveWorkbook(sales.Parent(), folder / "out.xlsx");

  std::string fresh = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  std::vector<size_t> at;
  for (const char* tag : {"<sheetData", "<mergeCells", "<pageMargins", "<headerFooter",
                          "<rowBreaks", "</worksheet>"}) {
    at.push_back(fresh.find(tag));
    ASSERT_NE(at.back(), std::string::npos) << tag;
  }
  EXPECT_TRUE(std::is_sorted(at.begin(), at.end())) << fresh.substr(fresh.find("</sheetData>"));
}

// The file's chain of formula cells would name cells the save changed: it is dropped, with its
// relationship and content type, for the host to build anew.
TEST(XlsxRoundTripTest, TheCalculationChainIsDroppedForTheHostToBuildAnew) {
  TempFolder folder;
  std::vector<PackagePart> parts = ReadZip(ReadFileBytes(kLibreOffice));
  for (PackagePart& part : parts) {
    if (part.name == "xl/_rels/workbook.xml.rels") {
      part.bytes.insert(part.bytes.find("</Relationships>"),
                        "<Relationship Id=\"rId9\" Type=\"http://schemas.openxmlformats.org/"
                        "officeDocument/2006/relationships/calcChain\" Target=\"calcChain.xml\"/>");
    } else if (part.name == "[Content_Types].xml") {
      part.bytes.insert(part.bytes.find("</Types>"),
                        "<Override PartName=\"/xl/calcChain.xml\" ContentType=\"application/"
                        "vnd.openxmlformats-officedocument.spreadsheetml.calcChain+xml\"/>");
    }
  }
  parts.push_back({"xl/calcChain.xml", "<calcChain><c r=\"G2\" i=\"1\"/></calcChain>"});
  WriteFileAtomically(folder / "chained.xlsx", WriteZip(parts));
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "chained.xlsx");
  book.GetSheet(1).SetValue(book.GetSheet(1).Range("G2"), Variant(1));
  SaveWorkbook(book, folder / "out.xlsx");

  EXPECT_EQ(PartOf(folder / "out.xlsx", "xl/calcChain.xml"), "");
  EXPECT_EQ(PartOf(folder / "out.xlsx", "xl/_rels/workbook.xml.rels").find("calcChain"),
            std::string::npos);
  EXPECT_EQ(PartOf(folder / "out.xlsx", "[Content_Types].xml").find("calcChain"),
            std::string::npos);
  EXPECT_NE(PartOf(folder / "out.xlsx", "xl/worksheets/sheet2.xml"), "");
}

// A change to the layout alone marks the sheet changed: the save writes it, never the part as
// read.
TEST(XlsxRoundTripTest, ALayoutChangeAloneReachesTheFile) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  Sheet& sales = book.GetSheet(1);
  ASSERT_FALSE(sales.Changed());
  sales.EditLayout([](SheetLayout& layout) {
    layout.orientation = PageOrientation::Landscape;
    layout.margins.left = 0.25;
    layout.zoom = 150;
  });
  EXPECT_TRUE(sales.Changed());
  SaveWorkbook(book, folder / "out.xlsx");

  Spreadsheet again;
  const SheetLayout& back = OpenWorkbook(again, folder / "out.xlsx").GetSheet(1).Layout();
  EXPECT_EQ(back.orientation, PageOrientation::Landscape);
  EXPECT_EQ(back.margins.left, 0.25);
  EXPECT_EQ(back.zoom, 150);
}

// The print titles and the first tab shown are the workbook's: titles taken away are gone from
// the file, and the tab bar keeps its place unless it would start past the active sheet.
TEST(XlsxRoundTripTest, TheWorkbookPartFollowsTheTitlesAndTheActiveSheet) {
  TempFolder folder;
  WritePatchedCopy(kLibreOffice, folder / "in.xlsx",
                   {{"xl/workbook.xml",
                     {{"firstSheet=\"0\" activeTab=\"0\"", "firstSheet=\"1\" activeTab=\"1\""}}}});
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  book.GetSheet(1).PageSetup().SetPrintTitleRows("");
  SaveWorkbook(book, folder / "out.xlsx");
  std::string workbook = PartOf(folder / "out.xlsx", "xl/workbook.xml");
  EXPECT_NE(workbook.find("firstSheet=\"1\" activeTab=\"1\""), std::string::npos) << workbook;
  Spreadsheet again;
  EXPECT_EQ(OpenWorkbook(again, folder / "out.xlsx").GetSheet(1).PageSetup().PrintTitleRows(), "");

  book.GetSheet(1).Activate();
  SaveWorkbook(book, folder / "first.xlsx");
  workbook = PartOf(folder / "first.xlsx", "xl/workbook.xml");
  EXPECT_EQ(workbook.find("firstSheet"), std::string::npos) << workbook;
  EXPECT_NE(workbook.find("activeTab=\"0\""), std::string::npos) << workbook;
}

TEST(XlsxRoundTripTest, CopiedSheetAndPageBreakPreviewAreWritten) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  book.CopySheet(book.GetSheet(1), book.GetSheet(2));
  book.GetWindow().SetView(xlPageBreakPreview);
  SaveWorkbook(book, folder / "out.xlsx");

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "out.xlsx");
  ASSERT_EQ(reread.SheetCount(), 3);
  Sheet& copy = reread.GetSheet(3);
  EXPECT_EQ(copy.Name(), "销售 (2)");
  EXPECT_EQ(&reread.GetActiveSheet(), &copy);
  EXPECT_EQ(reread.GetWindow().View(), xlPageBreakPreview);
  EXPECT_FALSE(reread.GetSheet(1).Layout().tabSelected);
  ExpectSameCells(book.GetSheet(1), copy);
  ExpectSameLayout(book.GetSheet(1), copy);
}

TEST(XlsxRoundTripTest, WrittenFilesOpenInAnIndependentReader) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  book.GetSheet(1).SetChanged(true);  // one sheet written fresh, one as read
  SaveWorkbook(book, folder / "out.xlsx");
  std::string seen = ReadWithOpenpyxl(folder / "out.xlsx", "A1 A2 F2 F3 F4");
  if (seen.empty()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
  EXPECT_EQ(seen,
            "销售,交叉表\n"
            "active 销售\n"
            "销售 A1 '日期'\n"
            "销售 A2 2026-01-03T00:00:00\n"
            "销售 F2 '=D2*E2'\n"
            "销售 F3 '=D3*E3'\n"
            "销售 F4 '=D4*E4'\n"
            "销售 merged ['H1:I1']\n"
            "销售 titles $1:$1\n"
            "销售 height 24.0\n"
            "销售 width 12.0\n"
            "交叉表 A1 None\n"
            "交叉表 A2 '甲'\n"
            "交叉表 F2 '=TRUE()'\n"
            "交叉表 F3 '=NA()'\n"
            "交叉表 F4 '0'\n"
            "交叉表 merged []\n"
            "交叉表 titles None\n"
            "交叉表 height 15.0\n"
            "交叉表 width 13.0\n");

  // A workbook made in memory gets its own styles, content types and relationships.
  Book& made = app.AddWorkbook("made");
  Sheet& sheet = made.AddSheet("Data");
  sheet.SetValue(sheet.Range("A1"), Variant("名称"));
  sheet.Store().SetContent(2, 1, Variant::Date(46025.5), nullptr);
  sheet.SetValue(sheet.Range("F2"), Variant(2.5));
  sheet.SetFormula(sheet.Range("F3"), "=F2*2");
  sheet.SetValue(sheet.Range("F4"), Variant::Boolean(false));
  sheet.PageSetup().SetPrintTitleRows("1");
  sheet.EditLayout([&](SheetLayout& layout) { layout.mergedCells.push_back(Area{1, 1, 1, 3}); });
  sheet.SetRowHeight(1, 30);
  SaveWorkbook(made, folder / "made.xlsx");
  EXPECT_EQ(ReadWithOpenpyxl(folder / "made.xlsx", "A1 A2 F2 F3 F4"),
            "Data\n"
            "active Data\n"
            "Data A1 '名称'\n"
            "Data A2 2026-01-03T12:00:00\n"
            "Data F2 2.5\n"
            "Data F3 '=F2*2'\n"
            "Data F4 False\n"
            "Data merged ['A1:C1']\n"
            "Data titles $1:$1\n"
            "Data height 30.0\n"
            "Data width 13.0\n");
}

TEST(XlsxRoundTripTest, AnArrayFormulaIsWrittenAndReadAsOne) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  Sheet& sales = book.GetSheet(1);
  sales.SetFormula(sales.Range("G2"), "{=SUM(F2:F5*2)}");
  SaveWorkbook(book, folder / "out.xlsx");

  std::string part = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(part.find("<f t=\"array\" ref=\"G2\">SUM(F2:F5*2)</f>"), std::string::npos);
  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "out.xlsx");
  EXPECT_EQ(FormulaAt(reread.GetSheet(1), "G2"), "{=SUM(F2:F5*2)}");
}

TEST(XlsxRoundTripTest, ASheetCopyKeepsThePrintOptions) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, kLibreOffice);
  book.GetSheet(1).EditLayout([](SheetLayout& layout) {
    layout.printHeadings = layout.printGridlines = layout.centerHorizontally = true;
  });
  SaveWorkbook(book, folder / "options.xlsx");

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "options.xlsx");
  reread.CopySheet(reread.GetSheet(1), reread.GetSheet(2));
  SaveWorkbook(reread, folder / "copied.xlsx");
  std::string copy = PartOf(folder / "copied.xlsx", "xl/worksheets/sheet3.xml");
  EXPECT_NE(copy.find("<printOptions headings=\"1\" gridLines=\"1\" horizontalCentered=\"1\"/>"),
            std::string::npos);
  Spreadsheet third;
  const SheetLayout& back = OpenWorkbook(third, folder / "copied.xlsx").GetSheet(3).Layout();
  EXPECT_TRUE(back.printHeadings && back.printGridlines && back.centerHorizontally);
  EXPECT_FALSE(back.centerVertically);
}

TEST(XlsxRoundTripTest, PrintOptionsAndOutlineLevelsAreWrittenOnlyWhenTheSheetHasThem) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("new");
  Sheet& sheet = book.AddSheet("Data");
  sheet.SetValue(sheet.Range("A1"), Variant(1));
  SaveWorkbook(book, folder / "plain.xlsx");
  std::string plain = PartOf(folder / "plain.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_EQ(plain.find("printOptions"), std::string::npos);
  EXPECT_EQ(plain.find("outlineLevel"), std::string::npos);

  sheet.EditLayout([](SheetLayout& layout) { layout.printGridlines = true; });
  SaveWorkbook(book, folder / "gridlines.xlsx");
  std::string gridlines = PartOf(folder / "gridlines.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(gridlines.find("<printOptions gridLines=\"1\"/>"), std::string::npos);
}

// A sheet made in memory is written whole from its model: every element in its place, and only
// what differs from the defaults.
TEST(XlsxRoundTripTest, AMadeSheetIsWrittenFromItsLayout) {
  TempFolder folder;
  Spreadsheet app;
  Book& made = app.AddWorkbook("made");
  Sheet& plain = made.AddSheet("Plain");
  plain.SetValue(plain.Range("A1"), Variant(1));
  Sheet& laid = made.AddSheet("Laid");
  laid.SetValue(laid.Range("A1"), Variant(1));
  laid.SetValue(laid.Range("IV65536"), Variant(2));
  laid.SetColumnWidth(2, 15);
  laid.SetColumnWidth(3, 15);
  laid.SetColumnWidth(256, 20);
  laid.SetRowHeight(3, 20);
  laid.SetRowHeight(4, 15, true);
  laid.EditLayout([](SheetLayout& layout) {
    layout.fitToPage = true;
    layout.manualRowBreaks = {5};
    layout.mergedCells = {Area{1, 1, 2, 2}, Area{3, 1, 1, 3}};
    layout.zoom = 85;
  });
  SaveWorkbook(made, folder / "made.xlsx");
  EXPECT_NE(PartOf(folder / "made.xlsx", "xl/styles.xml"), "");
  std::string part = PartOf(folder / "made.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(part.find("><dimension ref=\"A1\"/><sheetViews>"), std::string::npos) << part;
  EXPECT_NE(part.find("<pageSetup scale=\"100\" fitToWidth=\"1\" fitToHeight=\"1\" "
                      "orientation=\"portrait\"/></worksheet>"),
            std::string::npos)
      << part;
  for (const char* unset : {"<sheetPr", "zoomScale", "<cols>", "<mergeCells", "paperSize",
                            "<rowBreaks", "outlineLevel"})
    EXPECT_EQ(part.find(unset), std::string::npos) << unset;
  part = PartOf(folder / "made.xlsx", "xl/worksheets/sheet2.xml");
  for (const char* written :
       {"><sheetPr><pageSetUpPr fitToPage=\"1\"/></sheetPr><dimension ref=\"A1:IV65536\"/>",
        "<cols><col min=\"2\" max=\"3\" width=\"15\" customWidth=\"1\"/>"
        "<col min=\"256\" max=\"256\" width=\"20\" customWidth=\"1\"/></cols>",
        "<row r=\"3\" ht=\"20\" customHeight=\"1\"></row><row r=\"4\" ht=\"15\"></row>"
        "<row r=\"65536\"><c r=\"IV65536\"><v>2</v></c></row></sheetData>"
        "<mergeCells count=\"2\"><mergeCell ref=\"A1:B2\"/><mergeCell ref=\"A3:C3\"/>"
        "</mergeCells><pageMargins ",
        "<sheetView workbookViewId=\"0\" zoomScale=\"85\"/>",
        "<rowBreaks count=\"1\" manualBreakCount=\"1\"><brk id=\"4\" max=\"16383\" man=\"1\"/>"
        "</rowBreaks></worksheet>"})
    EXPECT_NE(part.find(written), std::string::npos) << written << "\n" << part;
}

}  // namespace
}  // namespace tavrin
