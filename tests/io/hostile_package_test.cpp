#include <cstring>
#include <limits>

#include "host/address.h"
#include "io/worksheet_reader.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

constexpr char kMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kRelationships[] = "http://schemas.openxmlformats.org/package/2006/relationships";
constexpr char kTypes[] = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A workbook package made part by part: one sheet "Data" holding the given sheetData content,
// the workbook part under the given name.
std::vector<PackagePart> Package(const std::string& sheetData,
                                 const std::string& workbookPart = "xl/workbook.xml") {
  std::string folder = workbookPart.substr(0, workbookPart.rfind('/') + 1);
  std::string file = workbookPart.substr(folder.size());
  auto relationship = [](const std::string& type, const std::string& target) {
    return std::string("<Relationships xmlns=\"") + kRelationships +
           "\"><Relationship Id=\"rId1\" Type=\"" + kTypes + type + "\" Target=\"" + target +
           "\"/></Relationships>";
  };
  return {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"rels\" "
       "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
      {"_rels/.rels", relationship("officeDocument", workbookPart)},
      {folder + "_rels/" + file + ".rels", relationship("worksheet", "worksheets/sheet1.xml")},
      {workbookPart, std::string("<workbook xmlns=\"") + kMain + "\" xmlns:r=\"" +
                         "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
                         "\"><sheets><sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/>"
                         "</sheets></workbook>"},
      {folder + "worksheets/sheet1.xml", std::string("<worksheet xmlns=\"") + kMain +
                                             "\"><sheetData>" + sheetData +
                                             "</sheetData></worksheet>"},
  };
}

// A one-cell package whose workbook has a second relationship, rId2, to the sheet's part.
std::vector<PackagePart> WithASecondRelationshipToTheSheet() {
  std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  std::string& relationships = parts[2].bytes;
  relationships.insert(relationships.find("</Relationships>"),
                       std::string("<Relationship Id=\"rId2\" Type=\"") + kTypes +
                           "worksheet\" Target=\"worksheets/sheet1.xml\"/>");
  return parts;
}

class HostilePackageTest : public ::testing::Test {
 protected:
  // Opens the package written to a file of the folder.
  Book& Open(const std::vector<PackagePart>& parts) {
    WriteFileAtomically(folder / "book.xlsx", WriteZip(parts));
    return OpenWorkbook(app, folder / "book.xlsx");
  }
  std::string Saved(Book& book) {
    SaveWorkbook(book, folder / "saved.xlsx");
    return PartOf(folder / "saved.xlsx", "xl/worksheets/sheet1.xml");
  }

  TempFolder folder;
  Spreadsheet app;
};

TEST_F(HostilePackageTest, AWorkbookPartOfAnyNameOpensAndSaves) {
  Book& book = Open(
      Package("<row r=\"1\"><c r=\"A1\"><v>5</v></c></row>", "xl/a-workbook-with-a-long-name.xml"));
  EXPECT_EQ(ValueAt(book.GetSheet("Data"), "A1"), Variant(5));
  book.GetSheet("Data").Range("B1").SetValue(6);
  SaveWorkbook(book, folder / "saved.xlsx");
  Spreadsheet again;
  Book& read = OpenWorkbook(again, folder / "saved.xlsx");
  EXPECT_EQ(ValueAt(read.GetSheet("Data"), "B1"), Variant(6));
}

TEST_F(HostilePackageTest, RowsNumberedPastTheSheetAreLeftOutAndCountingGoesOn) {
  Book& book = Open(Package(
      "<row r=\"2147483647\"><c><v>1</v></c></row><row><c><v>2</v></c></row>"
      "<row r=\"99999999999\"><c><v>3</v></c></row><row r=\"3\"><c r=\"A3\"><v>4</v></c></row>"
      "<row r=\"65536\"><c r=\"A65536\"><v>5</v></c></row><row><c><v>6</v></c></row>"));
  const Sheet& sheet = book.GetSheet("Data");
  EXPECT_EQ(sheet.Store().ContentCount(Area{1, 1, kLastRow, kLastColumn}), 2);
  EXPECT_EQ(ValueAt(sheet, "A3"), Variant(4));
  EXPECT_EQ(ValueAt(sheet, "A65536"), Variant(5));
}

TEST_F(HostilePackageTest, AnEmptyRowWithoutANumberCountsAsARow) {
  Book& book =
      Open(Package("<row/><row><c><v>7</v></c></row><row />"
                   "<row><c><v>8</v></c></row>"));
  EXPECT_EQ(ValueAt(book.GetSheet("Data"), "A2"), Variant(7));
  EXPECT_EQ(ValueAt(book.GetSheet("Data"), "A4"), Variant(8));
}

TEST_F(HostilePackageTest, NumbersPastTheRangeOfNumbersAreNumErrorsAndAreWrittenSo) {
  Book& book =
      Open(Package("<row r=\"1\"><c r=\"A1\"><v>nan</v></c><c r=\"B1\"><v>1e400</v></c>"
                   "<c r=\"C1\"><v>-inf</v></c><c r=\"D1\"><v>1e308</v></c></row>"));
  Sheet& sheet = book.GetSheet("Data");
  for (const char* at : {"A1", "B1", "C1"}) EXPECT_EQ(ValueAt(sheet, at), Variant(ErrorValue::Num));
  sheet.Range("E1").SetValue("=D1*10");
  sheet.Range("F1").SetValue("=SUM(D1,D1)");
  sheet.Range("E1:F1").SetValue(sheet.Range("E1:F1").Value());  // frozen, as the tools do
  // Put in the store past every check, a number or a date out of range is still written as one.
  sheet.Store().SetContent(1, 7, Variant(std::numeric_limits<double>::infinity()), nullptr);
  sheet.Store().SetContent(1, 8, Variant::Date(std::numeric_limits<double>::quiet_NaN()), nullptr);
  std::string xml = Saved(book);
  EXPECT_EQ(xml.find("inf"), std::string::npos) << xml;
  EXPECT_EQ(xml.find("nan"), std::string::npos) << xml;
  for (const char* at : {"F1", "G1"}) {
    EXPECT_NE(xml.find("<c r=\"" + std::string(at) + "\" t=\"e\"><v>#NUM!</v></c>"),
              std::string::npos)
        << at << "\n"
        << xml;
  }
  EXPECT_NE(xml.find("<c r=\"H1\" s=\""), std::string::npos) << xml;
  EXPECT_NE(xml.find("t=\"e\"><v>#NUM!</v></c></row>"), std::string::npos) << xml;
}

TEST_F(HostilePackageTest, ADamagedRowFailsTheFileAndLeavesNoWorkbook) {
  for (const char* rows :
       {"<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"2\"><c r=",
        "<row r=\"1\"><c r=\"A1\"><v>1</v></row>",
        "<row r=\"1\"><c r=\"A1\"><v>1</v></c></row><row r=\"2\">",
        "<row r=\"1\"><c r=\"A1\" s=\"x\" </c></row>", "<row r=\"1\"><c r=\"A1\n</c></row>"}) {
    std::vector<PackagePart> parts = Package(rows);
    WriteFileAtomically(folder / "bad.xlsx", WriteZip(parts));
    EXPECT_NE(FileErrorOf([&] { OpenWorkbook(app, folder / "bad.xlsx"); }), "") << rows;
    EXPECT_EQ(app.WorkbookCount(), 0) << rows;
  }
}

// Over a MB of rows is read as the part is inflated, on a second thread: rows come in order,
// those the parser takes (here the ones with a comment) keep their texts, what follows the cells
// and the row heights beside the default still count, and damage deep in the sheet or in the
// archive still fails and adds nothing.
TEST_F(HostilePackageTest, ALargeSheetReadAsItIsInflatedKeepsItsRowsAndItsDamage) {
  std::string rows;
  for (int r = 1; r <= 20000; ++r) {
    std::string at = std::to_string(r);
    rows += "<row r=\"" + at + "\"" +
            (r == 2   ? " ht=\"15\""
             : r == 3 ? " ht=\"30\""
                      : "") +
            ">" + (r % 7 == 0 ? "<!-- parsed -->" : "") + "<c r=\"A" + at +
            "\" t=\"str\"><v>record " + at + "</v></c><c r=\"C" + at + "\"><f>A" + at +
            "</f><v>0</v></c></row>";
  }
  ASSERT_GT(rows.size(), size_t{1} << 20);
  auto package = [&](const std::string& cells) {
    std::vector<PackagePart> parts = Package(cells);
    std::string& sheet = parts.back().bytes;
    sheet.insert(sheet.find("<sheetData>"), "<sheetFormatPr defaultRowHeight=\"15\"/>");
    sheet.insert(sheet.find("</worksheet>"), "<mergeCells><mergeCell ref=\"D1:E2\"/></mergeCells>");
    return parts;
  };
  Book& book = Open(package(rows));
  const Sheet& sheet = book.GetSheet("Data");
  EXPECT_EQ(sheet.Store().ContentCount(Area{1, 1, kLastRow, kLastColumn}), 40000);
  for (const char* at : {"1", "7", "256", "1792", "19999", "20000"}) {
    EXPECT_EQ(ValueAt(sheet, std::string("A") + at), Variant(std::string("record ") + at));
    EXPECT_EQ(FormulaAt(sheet, std::string("C") + at), std::string("=A") + at);
  }
  EXPECT_EQ(sheet.RowHeight(2), 15);
  EXPECT_EQ(sheet.RowHeight(3), 30);
  EXPECT_EQ(sheet.Layout().mergedCells.size(), 1u);
  app.RemoveWorkbook(book);

  std::string damaged = rows;
  damaged.insert(damaged.find("<row r=\"15000\">") + 5, "<");
  std::string archive = WriteZip(package(rows));
  archive[archive.size() / 2] ^= 0x55;  // inside the sheet's deflated bytes
  for (const std::string& file : {WriteZip(package(damaged)), archive}) {
    WriteFileAtomically(folder / "bad.xlsx", file);
    EXPECT_NE(FileErrorOf([&] { OpenWorkbook(app, folder / "bad.xlsx"); }), "");
    EXPECT_EQ(app.WorkbookCount(), 0);
  }
}

// Elements named with a namespace prefix would read as an empty sheet and be written back so:
// the file is refused, in a small sheet as in one read as it is inflated.
TEST_F(HostilePackageTest, ASheetWrittenWithNamespacePrefixesIsRefusedNotEmptied) {
  for (int rows : {1, 20000}) {
    std::string cells;
    for (int r = 1; r <= rows; ++r) {
      std::string at = std::to_string(r);
      cells += "<x:row r=\"" + at + "\"><x:c r=\"A" + at + "\"><x:v>" + at + "</x:v></x:c></x:row>";
    }
    std::vector<PackagePart> parts = Package("");
    parts.back().bytes = std::string("<x:worksheet xmlns:x=\"") + kMain + "\"><x:sheetData>" +
                         cells + "</x:sheetData></x:worksheet>";
    WriteFileAtomically(folder / "prefixed.xlsx", WriteZip(parts));
    EXPECT_EQ(FileErrorOf([&] { OpenWorkbook(app, folder / "prefixed.xlsx"); }),
              "Cannot open \"" + (folder / "prefixed.xlsx").string() +
                  "\": xl/worksheets/sheet1.xml is written with namespace prefixes (x:worksheet), "
                  "which cannot be read yet.");
    EXPECT_EQ(app.WorkbookCount(), 0);
  }
}

// A new sheet takes the id after the file's highest, never one a sheet of the file has; an id
// past a million, or past any number, does not push the new ones up: the new sheet takes the
// first.
TEST_F(HostilePackageTest, ANewSheetTakesTheIdAfterTheFilesHighestUpToAMillion) {
  for (auto [id, next] : {std::pair{"1", "2"},
                          {"7", "8"},
                          {"99999999999999", "1"},
                          {"2147483647", "1"},
                          {"1000000", "1"}}) {
    std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    std::string& workbook = parts[3].bytes;
    workbook.replace(workbook.find("sheetId=\"1\""), 11, std::string("sheetId=\"") + id + '"');
    WriteFileAtomically(folder / "ids.xlsx", WriteZip(parts));
    Spreadsheet reader;
    Book& book = OpenWorkbook(reader, folder / "ids.xlsx");
    book.AddSheet("New");
    SaveWorkbook(book, folder / "saved.xlsx");
    std::string expected = std::string("name=\"New\" sheetId=\"") + next + '"';
    EXPECT_NE(PartOf(folder / "saved.xlsx", "xl/workbook.xml").find(expected), std::string::npos)
        << id;
    Spreadsheet again;
    EXPECT_EQ(OpenWorkbook(again, folder / "saved.xlsx").SheetCount(), 2) << id;
  }
}

// A worksheet part the workbook points to but no sheet names is data no one sees: saving leaves
// it out, with its relationship, and keeps the sheets.
TEST_F(HostilePackageTest, AWorksheetPartNoSheetNamesIsNotSaved) {
  std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  parts[2].bytes.insert(parts[2].bytes.find("</Relationships>"),
                        std::string("<Relationship Id=\"rId2\" Type=\"") + kTypes +
                            "worksheet\" Target=\"worksheets/sheet2.xml\"/>");
  parts.push_back(
      {"xl/worksheets/sheet2.xml", std::string("<worksheet xmlns=\"") + kMain +
                                       "\"><sheetData><row r=\"1\"><c r=\"A1\"><v>42</v></c></row>"
                                       "</sheetData></worksheet>"});
  SaveWorkbook(Open(parts), folder / "saved.xlsx");
  EXPECT_EQ(PartOf(folder / "saved.xlsx", "xl/worksheets/sheet2.xml"), "");
  EXPECT_EQ(PartOf(folder / "saved.xlsx", "xl/_rels/workbook.xml.rels").find("sheet2"),
            std::string::npos);
  Spreadsheet again;
  EXPECT_EQ(ValueAt(OpenWorkbook(again, folder / "saved.xlsx").GetSheet("Data"), "A1"), Variant(1));
}

TEST_F(HostilePackageTest, APackageWithoutItsRelationshipsIsRefused) {
  auto refusal = [&](size_t dropped) {
    std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    parts.erase(parts.begin() + static_cast<long>(dropped));
    WriteFileAtomically(folder / "bad.xlsx", WriteZip(parts));
    return FileErrorOf([&] { OpenWorkbook(app, folder / "bad.xlsx"); });
  };
  std::string file = "Cannot open \"" + (folder / "bad.xlsx").string() + "\": ";
  EXPECT_EQ(refusal(1), file + "not an .xlsx workbook (it has no workbook part).");  // _rels/.rels
  EXPECT_EQ(refusal(2), file + "the workbook has no worksheets.");  // the workbook part's
  EXPECT_EQ(app.WorkbookCount(), 0);
}

TEST_F(HostilePackageTest, DamagedPartsAreRefusedWhenOpenedNotWhenSaved) {
  std::vector<PackagePart> parts =
      Package("<row r=\"1\"><c r=\"AAAAAAAAAAAAA1\"><v>1</v></c></row>");
  parts[0].bytes = "<Types";
  WriteFileAtomically(folder / "types.xlsx", WriteZip(parts));
  EXPECT_EQ(FileErrorOf([&] { OpenWorkbook(app, folder / "types.xlsx"); }),
            "Cannot open \"" + (folder / "types.xlsx").string() +
                "\": [Content_Types].xml is damaged (Error parsing start element tag).");
  parts = Package("<row r=\"1\"><c r=\"AAAAAAAAAAAAA1\"><v>1</v></c></row>");
  EXPECT_EQ(Open(parts).GetSheet("Data").Store().ContentCount(Area{1, 1, kLastRow, kLastColumn}),
            0);
}

TEST_F(HostilePackageTest, ACarriageReturnInATextSurvivesARoundTrip) {
  Book& book =
      Open(Package("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>a&#13;b</t></is></c></row>"));
  book.GetSheet("Data").Range("B1").SetValue(1);
  Spreadsheet again;
  SaveWorkbook(book, folder / "saved.xlsx");
  EXPECT_EQ(ValueAt(OpenWorkbook(again, folder / "saved.xlsx").GetSheet("Data"), "A1"),
            Variant("a\rb"));
}

TEST_F(HostilePackageTest, AnInlineStringWithoutItsTextIsAnEmptyCell) {
  Book& book =
      Open(Package("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"/>"
                   "<c r=\"B1\" t=\"inlineStr\"><is><t></t></is></c></row>"));
  EXPECT_TRUE(ValueAt(book.GetSheet("Data"), "A1").IsEmpty());
  EXPECT_EQ(ValueAt(book.GetSheet("Data"), "B1"), Variant("")) << "an empty text, as written";
}

TEST_F(HostilePackageTest, CellFormatsTheFileDoesNotListAreTheDefaultOne) {
  // This package has no styles part: the writer gives it one whose format 1 shows dates.
  Book& book =
      Open(Package("<row r=\"1\" s=\"1\" customFormat=\"1\"><c r=\"A1\" s=\"1\"><v>45000</v></c>"
                   "<c r=\"B1\" s=\"99999\"><v>2</v></c></row>"));
  EXPECT_EQ(StyleAt(book.GetSheet("Data"), "A1"), 0u);
  EXPECT_EQ(StyleAt(book.GetSheet("Data"), "B1"), 0u);
  // Saved unchanged, then changed: neither save turns the number into a date.
  SaveWorkbook(book, folder / "unchanged.xlsx");
  book.GetSheet("Data").Range("C1").SetValue(3);
  SaveWorkbook(book, folder / "saved.xlsx");
  for (const char* name : {"unchanged.xlsx", "saved.xlsx"}) {
    Spreadsheet again;
    EXPECT_EQ(ValueAt(OpenWorkbook(again, folder / name).GetSheet("Data"), "A1"), Variant(45000))
        << name;
  }
}

TEST_F(HostilePackageTest, ARelationshipSharingAnIdWithAnotherIsDroppedAlone) {
  // A worksheet the workbook does not list and the styles share rId2; saving drops the first.
  std::vector<PackagePart> parts =
      Package("<row r=\"1\"><c r=\"A1\" s=\"1\"><v>45000</v></c></row>");
  std::string& relationships = parts[2].bytes;
  relationships.insert(relationships.find("</Relationships>"),
                       std::string("<Relationship Id=\"rId2\" Type=\"") + kTypes +
                           "worksheet\" Target=\"worksheets/sheet2.xml\"/><Relationship "
                           "Id=\"rId2\" Type=\"" +
                           kTypes + "styles\" Target=\"styles.xml\"/>");
  parts.push_back(
      {"xl/styles.xml", std::string("<styleSheet xmlns=\"") + kMain +
                            "\"><cellXfs count=\"2\"><xf numFmtId=\"0\"/><xf numFmtId=\"14\" "
                            "applyNumberFormat=\"1\"/></cellXfs></styleSheet>"});
  Book& book = Open(parts);
  ASSERT_TRUE(ValueAt(book.GetSheet("Data"), "A1").IsDate());
  SaveWorkbook(book, folder / "saved.xlsx");
  Spreadsheet again;
  EXPECT_TRUE(ValueAt(OpenWorkbook(again, folder / "saved.xlsx").GetSheet("Data"), "A1").IsDate());
}

TEST_F(HostilePackageTest, TwoSheetsOfOnePartAreRefused) {
  std::vector<PackagePart> parts = WithASecondRelationshipToTheSheet();
  std::string& workbook = parts[3].bytes;
  workbook.insert(workbook.find("</sheets>"),
                  "<sheet name=\"Again\" sheetId=\"2\" r:id=\"rId2\"/>");
  std::string message = FileErrorOf([&] { Open(parts); });
  EXPECT_NE(message.find("two sheets share xl/worksheets/sheet1.xml"), std::string::npos)
      << message;
  EXPECT_EQ(app.WorkbookCount(), 0);
}

TEST_F(HostilePackageTest, ASheetNamingAPartThatIsNoWorksheetIsRefused) {
  // The first sheet's own target, or a second sheet's.
  for (const std::string target :
       {"../workbook.xml", "../../[Content_Types].xml", "../_rels/workbook.xml.rels",
        "../../_rels/.rels", "../styles.xml", "../sharedStrings.xml", "../../docProps/core.xml"}) {
    std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
    parts.push_back({"xl/styles.xml", std::string("<styleSheet xmlns=\"") + kMain + "\"/>"});
    parts.push_back({"xl/sharedStrings.xml", std::string("<sst xmlns=\"") + kMain + "\"/>"});
    parts.push_back({"docProps/core.xml", "<coreProperties/>"});
    parts[1].bytes.insert(parts[1].bytes.find("</Relationships>"),
                          std::string("<Relationship Id=\"rId2\" Type=\"") + kTypes +
                              "core-properties\" Target=\"docProps/core.xml\"/>");
    std::string& relationships = parts[2].bytes;
    relationships.insert(relationships.find("</Relationships>"),
                         std::string("<Relationship Id=\"rId2\" Type=\"") + kTypes +
                             "worksheet\" Target=\"worksheets/" + target +
                             "\"/><Relationship Id=\"rId3\" Type=\"" + kTypes +
                             "styles\" Target=\"styles.xml\"/><Relationship Id=\"rId4\" Type=\"" +
                             kTypes + "sharedStrings\" Target=\"sharedStrings.xml\"/>");
    std::string& workbook = parts[3].bytes;
    workbook.insert(workbook.find("</sheets>"),
                    "<sheet name=\"Second\" sheetId=\"2\" r:id=\"rId2\"/>");
    std::string message = FileErrorOf([&] { Open(parts); });
    EXPECT_NE(message.find("the workbook is damaged (a sheet names "), std::string::npos)
        << target << ": " << message;
    EXPECT_EQ(app.WorkbookCount(), 0);
  }
  // A near miss: a worksheet part of a name like the workbook's opens.
  std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  parts[2].bytes.replace(parts[2].bytes.find("worksheets/sheet1.xml"), 21, "workbook.xml.xml");
  parts[4].name = "xl/workbook.xml.xml";
  EXPECT_EQ(ValueAt(Open(parts).GetSheet("Data"), "A1"), Variant(1));
}

TEST_F(HostilePackageTest, APartInAnotherEncodingThanUtf8IsRefusedNotReadEmpty) {
  auto withSheet = [](const std::string& bytes) {
    std::vector<PackagePart> parts = Package("");
    parts[4].bytes = bytes;
    return parts;
  };
  std::string sheet = std::string("<worksheet xmlns=\"") + kMain +
                      "\"><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row></sheetData>"
                      "</worksheet>";
  std::string utf16 = "\xFF\xFE";
  for (char c : sheet) utf16 += std::string{c, '\0'};
  std::string bigEndian;
  for (char c : sheet) bigEndian += std::string{'\0', c};
  for (const std::string& bytes :
       {utf16, bigEndian, "<?xml version=\"1.0\" encoding=\"UTF-16\"?>" + sheet,
        "<?xml version='1.0' encoding='ISO-8859-1'?>" + sheet}) {
    std::string message = FileErrorOf([&] { Open(withSheet(bytes)); });
    EXPECT_NE(message.find("xl/worksheets/sheet1.xml is written in "), std::string::npos)
        << message;
    EXPECT_EQ(app.WorkbookCount(), 0);
  }
  for (const std::string& bytes :
       {"\xEF\xBB\xBF" + sheet, "<?xml version=\"1.0\" encoding=\"utf-8\"?>" + sheet,
        "<?xml version=\"1.0\" standalone=\"yes\"?>" + sheet}) {
    Spreadsheet one;
    WriteFileAtomically(folder / "good.xlsx", WriteZip(withSheet(bytes)));
    EXPECT_EQ(ValueAt(OpenWorkbook(one, folder / "good.xlsx").GetSheet("Data"), "A1"), Variant(1));
  }
}

TEST_F(HostilePackageTest, AFileMakingTheReaderHoldTooMuchIsRefused) {
  // One shared string of a megabyte, named by a cell more than 256 times over.
  std::string cells;
  for (int row = 1; row <= 257; ++row)
    cells += "<row r=\"" + std::to_string(row) + "\"><c t=\"s\"><v>0</v></c></row>";
  std::vector<PackagePart> parts = Package(cells);
  parts.push_back({"xl/sharedStrings.xml", std::string("<sst xmlns=\"") + kMain + "\"><si><t>" +
                                               std::string(size_t{1} << 20, 'x') +
                                               "</t></si></sst>"});
  parts[2].bytes.insert(parts[2].bytes.find("</Relationships>"),
                        std::string("<Relationship Id=\"rId2\" Type=\"") + kTypes +
                            "sharedStrings\" Target=\"sharedStrings.xml\"/>");
  EXPECT_NE(FileErrorOf([&] { Open(parts); }).find("more than 256 MB of text"), std::string::npos);
  // A row of 256 cells, 16385 times: one row more than the cells read from one file.
  std::string row = "<row>";
  for (int c = 0; c < 256; ++c) row += "<c><v>1</v></c>";
  row += "</row>";
  std::string full;
  full.reserve(row.size() * 16385);
  for (int r = 0; r < 16385; ++r) full += row;
  EXPECT_NE(FileErrorOf([&] { Open(Package(full)); }).find("more than 4194304 cells"),
            std::string::npos);
  EXPECT_EQ(app.WorkbookCount(), 0);
}

TEST_F(HostilePackageTest, APartADroppedRelationshipSharesWithAKeptOneStays) {
  // rId2 names the sheet's part too, but no sheet of the workbook names rId2.
  std::vector<PackagePart> parts = WithASecondRelationshipToTheSheet();
  Book& book = Open(parts);
  SaveWorkbook(book, folder / "saved.xlsx");
  Spreadsheet again;
  EXPECT_EQ(ValueAt(OpenWorkbook(again, folder / "saved.xlsx").GetSheet("Data"), "A1"), Variant(1));
}

TEST_F(HostilePackageTest, ASheetWithoutCellsReadsEmpty) {
  std::vector<PackagePart> parts = Package("");
  std::string& xml = parts.back().bytes;
  xml.replace(xml.find("<sheetData></sheetData>"), 23, "<sheetData/>");
  EXPECT_EQ(Open(parts).GetSheet("Data").Store().ContentCount(Area{1, 1, kLastRow, kLastColumn}),
            0);
}

TEST_F(HostilePackageTest, AbsurdSizesAndMarginsFallBackToTheDefaults) {
  std::vector<PackagePart> parts = Package(
      "<row r=\"1\" ht=\"nan\" customHeight=\"1\"><c r=\"A1\"><v>1</v></c></row>"
      "<row r=\"2\" ht=\"-3\" customHeight=\"1\"/><row r=\"3\" ht=\"30\" customHeight=\"1\"/>");
  std::string& xml = parts.back().bytes;
  xml.insert(xml.find("<sheetData>"), "<cols><col min=\"1\" max=\"2\" width=\"1e300\"/></cols>");
  xml.insert(xml.find("</worksheet>"),
             "<pageMargins left=\"-1\" right=\"inf\" top=\"1e9\" bottom=\"0.5\" header=\"0.3\" "
             "footer=\"0.3\"/>");
  Sheet& sheet = Open(parts).GetSheet("Data");
  EXPECT_EQ(sheet.RowHeight(1), Sheet::kDefaultRowHeight);
  EXPECT_EQ(sheet.RowHeight(2), Sheet::kDefaultRowHeight);
  EXPECT_EQ(sheet.RowHeight(3), 30);
  EXPECT_EQ(sheet.ColumnWidth(1), Sheet::kDefaultColumnWidth);
  EXPECT_EQ(sheet.Layout().margins.left, PageMargins{}.left);
  EXPECT_EQ(sheet.Layout().margins.right, PageMargins{}.right);
  EXPECT_EQ(sheet.Layout().margins.top, PageMargins{}.top);
  EXPECT_EQ(sheet.Layout().margins.bottom, 0.5);
}

// Cells of every type, sizes at their limits, and page breaks read as the file says; what no
// cell, size or break can be is left out.
TEST_F(HostilePackageTest, CellsSizesAndBreaksAtTheirEdgesReadAsTheFileSays) {
  std::vector<PackagePart> parts = Package(
      "<row r=\"1\"><c r=\"A1\" t=\"b\"><v>1</v></c><c r=\"B1\" t=\"b\"><v>0</v></c>"
      "<c r=\"C1\" t=\"b\"><v/></c><c r=\"D1\" t=\"str\"><v></v></c><c r=\"E1\"><v>abc</v></c>"
      "<c r=\"F1\" t=\"s\"><v>0</v></c><c r=\"G1\" t=\"e\"><v>#DIV/0!</v></c>"
      "<c r=\"H1\" t=\"e\"><v>#N/A</v></c><c r=\"I1\" t=\"e\"><v>#bogus</v></c>"
      "<c r=\"J1x\"><v>5</v></c><c r=\"A5\"><v>6</v></c></row>"
      "<row r=\"2\" ht=\"0\" customHeight=\"1\"/><row r=\"3\" ht=\"409.5\" customHeight=\"1\"/>"
      "<row r=\"4\"><c r=\"A4\"><f t=\"shared\" ref=\"A4:B4\" si=\"0\">1+1</f><v>2</v></c>"
      "<c r=\"B4\"><f t=\"shared\" si=\"0\"/><v>2</v></c><c r=\"C4\"><f/><v>3</v></c></row>");
  std::string& xml = parts.back().bytes;
  xml.insert(xml.find("<sheetData>"),
             "<sheetViews><sheetView workbookViewId=\"0\"/></sheetViews><cols>"
             "<col min=\"1\" max=\"1\" width=\"20\"/><col min=\"3\" max=\"3\" hidden=\"1\"/>"
             "<col min=\"4\" max=\"4\" width=\"255\" customWidth=\"1\"/></cols>");
  xml.insert(xml.find("</worksheet>"),
             "<pageMargins left=\"0\" right=\"49\" top=\"1\" bottom=\"1\" header=\"0.5\" "
             "footer=\"0.5\"/><rowBreaks><brk id=\"1\" man=\"1\"/><brk id=\"65535\" man=\"1\"/>"
             "<brk id=\"65536\" man=\"1\"/><brk id=\"7\"/><brk id=\"0\" man=\"1\"/></rowBreaks>");
  Sheet& sheet = Open(parts).GetSheet("Data");
  const std::pair<const char*, Variant> cells[] = {{"A1", Variant::Boolean(true)},
                                                   {"B1", Variant::Boolean(false)},
                                                   {"C1", Variant()},
                                                   {"D1", Variant("")},
                                                   {"E1", Variant()},
                                                   {"F1", Variant()},
                                                   {"G1", ErrorValue::Div0},
                                                   {"H1", ErrorValue::NA},
                                                   {"I1", Variant("#bogus")},
                                                   {"J1", Variant()},
                                                   {"A5", Variant()},
                                                   {"C4", Variant(3)}};
  for (const auto& [at, value] : cells) EXPECT_EQ(ValueAt(sheet, at), value) << at;
  EXPECT_EQ(FormulaAt(sheet, "B4"), "=1+1");
  EXPECT_EQ(FormulaAt(sheet, "C4"), "") << "an empty formula is none";
  EXPECT_EQ(sheet.RowHeight(2), 0);
  EXPECT_EQ(sheet.RowHeight(3), 409.5);
  EXPECT_EQ(sheet.ColumnWidth(1), 20) << "a width without customWidth counts";
  EXPECT_EQ(sheet.ColumnWidth(3), Sheet::kDefaultColumnWidth);
  EXPECT_EQ(sheet.ColumnWidth(4), 255);
  EXPECT_EQ(sheet.Layout().margins.left, 0);
  EXPECT_EQ(sheet.Layout().margins.right, 49);
  EXPECT_FALSE(sheet.Layout().pageBreakPreview);
  EXPECT_EQ(sheet.Layout().manualRowBreaks, (std::vector<int>{2, 65536}));
}

// Print titles and areas belong to the sheet they name; a name of no sheet, of the whole
// workbook or of another kind sets neither, and an active tab past the sheets activates none.
TEST_F(HostilePackageTest, PrintNamesOfNoSheetOrOfAnotherKindAreLeftOut) {
  std::vector<PackagePart> parts = Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  std::string& workbook = parts[3].bytes;
  workbook.insert(workbook.find("<sheets>"),
                  "<bookViews><workbookView activeTab=\"1\"/></bookViews>");
  workbook.insert(
      workbook.find("</workbook>"),
      "<definedNames>"
      "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Data!$A$1:$B$2</definedName>"
      "<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\">Data!$A$1:$D$4"
      "</definedName><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Data!$2:$3"
      "</definedName><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"1\">Data!$5:$5"
      "</definedName><definedName name=\"_xlnm.Print_Titles\" localSheetId=\"7\">Data!$6:$6"
      "</definedName><definedName name=\"_xlnm.Print_Titles\">Data!$7:$7</definedName>"
      "<definedName name=\"Tax\" localSheetId=\"5\">0.1</definedName></definedNames>");
  Book& book = Open(parts);
  Sheet& sheet = book.GetSheet("Data");
  EXPECT_EQ(sheet.Layout().printArea, "$A$1:$B$2");
  EXPECT_EQ(sheet.PageSetup().PrintTitleRows(), "$2:$3");
  EXPECT_EQ(&book.GetActiveSheet(), &sheet);
  EXPECT_FALSE(sheet.Changed());
  // Written back: the print names once each, a name of no sheet gone, the others kept.
  SaveWorkbook(book, folder / "saved.xlsx");
  std::string saved = PartOf(folder / "saved.xlsx", "xl/workbook.xml");
  for (const char* name :
       {"<definedName name=\"_xlnm._FilterDatabase\" localSheetId=\"0\">Data!$A$1:$D$4<",
        "<definedName name=\"_xlnm.Print_Area\" localSheetId=\"0\">Data!$A$1:$B$2<",
        "<definedName name=\"_xlnm.Print_Titles\" localSheetId=\"0\">Data!$2:$3<"}) {
    size_t at = saved.find(name);
    EXPECT_NE(at, std::string::npos) << name << "\n" << saved;
    EXPECT_EQ(saved.find(name, at + 1), std::string::npos) << name << "\n" << saved;
  }
  EXPECT_EQ(saved.find("Tax"), std::string::npos) << saved;
  EXPECT_EQ(saved.find("$5:$5"), std::string::npos) << saved;
}

TEST(ReadAreasTest, AListOfReferencesIsSplitAtCommasOutsideQuotes) {
  std::vector<std::string> read;
  for (const Area& area : ReadAreas("'a,b''s'!$A$1:$B$2,Data!$3:$4,C5:D6")) {
    read.push_back(AreaAddress(area));
  }
  EXPECT_EQ(read, (std::vector<std::string>{"$A$1:$B$2", "$3:$4", "$C$5:$D$6"}));
  EXPECT_TRUE(ReadAreas("").empty());
}

// Sets the size a zip entry declares, in its local header and in the central directory.
void DeclareSize(std::string& zip, const std::string& name, uint32_t size) {
  auto patch = [&](const char* signature, size_t nameLengthAt, size_t nameAt, size_t sizeAt) {
    for (size_t at = zip.find(signature); at != std::string::npos;
         at = zip.find(signature, at + 4)) {
      uint16_t length;
      std::memcpy(&length, zip.data() + at + nameLengthAt, 2);
      if (zip.compare(at + nameAt, length, name) == 0)
        std::memcpy(zip.data() + at + sizeAt, &size, 4);
    }
  };
  patch("PK\x03\x04", 26, 30, 22);
  patch("PK\x01\x02", 28, 46, 24);
}

TEST_F(HostilePackageTest, APackageClaimingMoreThanAnyWorkbookHoldsIsRefusedUnread) {
  std::string zip = WriteZip(Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"));
  DeclareSize(zip, "xl/worksheets/sheet1.xml", 0xF0000000u);
  WriteFileAtomically(folder / "bomb.xlsx", zip);
  EXPECT_EQ(FileErrorOf([&] { OpenWorkbook(app, folder / "bomb.xlsx"); }),
            "Cannot open \"" + (folder / "bomb.xlsx").string() +
                "\": it expands to more than 1 GB, more than any workbook holds.");
  // An entry claiming fewer bytes than it holds is damaged, not trusted either.
  zip = WriteZip(Package("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>"));
  DeclareSize(zip, "xl/worksheets/sheet1.xml", 20);
  WriteFileAtomically(folder / "short.xlsx", zip);
  EXPECT_NE(FileErrorOf([&] { OpenWorkbook(app, folder / "short.xlsx"); }), "");
  EXPECT_EQ(app.WorkbookCount(), 0);
}

TEST_F(HostilePackageTest, AFormulaPastTheLimitsKeepsItsTextAndStoredResult) {
  std::string deep = std::string(300, '(') + "1" + std::string(300, ')');
  Book& book = Open(Package("<row r=\"1\"><c r=\"A1\"><f>" + deep + "</f><v>7</v></c></row>"));
  Sheet& sheet = book.GetSheet("Data");
  sheet.Range("B1").SetValue("=A1*2");
  EXPECT_EQ(sheet.Range("A1").Value(), Variant(7));
  EXPECT_EQ(sheet.Range("B1").Value(), Variant(14));
  std::string xml = Saved(book);
  EXPECT_NE(xml.find("<f>" + deep + "</f><v>7</v>"), std::string::npos) << xml.substr(0, 400);
}

}  // namespace
}  // namespace tavrin
