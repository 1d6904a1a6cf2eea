#include <fstream>

#include <pugixml.hpp>

#include "io/text_encoding.h"
#include "io/xml_text.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

void WriteEncodedFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// "名称,数量\n大米,3\n" in each encoding a spreadsheet program writes a .csv file in.
const std::string kUtf8 = "名称,数量\n大米,3\n";
const std::string kGb18030 = "\xC3\xFB\xB3\xC6,\xCA\xFD\xC1\xBF\n\xB4\xF3\xC3\xD7,3\n";
const std::string kUtf16LittleEndian = std::string(
    "\xFF\xFE\x0D\x54\xF0\x79,\0\x70\x65\xCF\x91\n\0\x27\x59\x73\x7C,\0"
    "3\0\n\0",
    24);
const std::string kUtf16BigEndian = std::string(
    "\xFE\xFF\x54\x0D\x79\xF0\0,\x65\x70\x91\xCF\0\n\x59\x27\x7C\x73\0,\0"
    "3\0\n",
    24);

// The texts of the sheet's first two rows, as read from the file.
std::vector<Variant> ReadBack(const std::filesystem::path& file, std::string_view encoding = {}) {
  Spreadsheet app;
  Sheet& sheet = OpenWorkbook(app, file, encoding).GetActiveSheet();
  return {ValueAt(sheet, "A1"), ValueAt(sheet, "B1"), ValueAt(sheet, "A2"), ValueAt(sheet, "B2")};
}

TEST(CsvEncodingTest, EachEncodingASpreadsheetProgramWritesReadsAsTheSameTexts) {
  TempFolder folder;
  const std::vector<Variant> expected{"名称", "数量", "大米", 3};
  for (const auto& [name, bytes] :
       std::vector<std::pair<std::string, std::string>>{{"utf8.csv", kUtf8},
                                                        {"utf8-mark.csv", "\xEF\xBB\xBF" + kUtf8},
                                                        {"gb18030.csv", kGb18030},
                                                        {"utf16le.csv", kUtf16LittleEndian},
                                                        {"utf16be.csv", kUtf16BigEndian}}) {
    WriteEncodedFile(folder / name, bytes);
    EXPECT_EQ(ReadBack(folder / name), expected) << name;
  }
}

TEST(CsvEncodingTest, ANamedEncodingOverridesWhatTheBytesSuggest) {
  TempFolder folder;
  WriteEncodedFile(folder / "latin.csv", "caf\xE9,na\xEFve\n");
  EXPECT_EQ(ReadBack(folder / "latin.csv", "latin1")[0], Variant("café"));
  EXPECT_EQ(ReadBack(folder / "latin.csv", "ISO-8859-1")[1], Variant("naïve"));
  WriteEncodedFile(folder / "gbk.csv", kGb18030);
  EXPECT_EQ(ReadBack(folder / "gbk.csv", "GBK")[2], Variant("大米"));
  EXPECT_EQ(ReadBack(folder / "gbk.csv", "UTF-8")[2], Variant("\uFFFD\uFFFD\uFFFD\uFFFD"))
      << "bytes that are no UTF-8 become U+FFFD";
  EXPECT_EQ(FileErrorOf([&] { ReadBack(folder / "gbk.csv", "no-such-encoding"); }),
            "Cannot open \"" + (folder / "gbk.csv").string() +
                "\": no character encoding is named \"no-such-encoding\".");
  EXPECT_TRUE(IsKnownEncoding("gb18030"));
  EXPECT_TRUE(IsKnownEncoding("UTF-16LE"));
  EXPECT_FALSE(IsKnownEncoding("no-such-encoding"));
  EXPECT_FALSE(IsKnownEncoding(""));
  EXPECT_TRUE(IsUtf8("a\x7F名"));
  EXPECT_FALSE(IsUtf8("a\x80"));
  EXPECT_FALSE(IsUtf8("\xE5\x90"));
}

TEST(CsvEncodingTest, AChineseLocaleCsvBecomesAWorkbookOtherProgramsRead) {
  TempFolder folder;
  WriteEncodedFile(folder / "list.csv", kGb18030);
  Spreadsheet app;
  SaveWorkbook(OpenWorkbook(app, folder / "list.csv"), folder / "list.xlsx");
  std::string part = PartOf(folder / "list.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_TRUE(IsUtf8(part));
  EXPECT_NE(part.find("大米"), std::string::npos);
  std::string seen = ReadWithOpenpyxl(folder / "list.xlsx", "A2");
  if (!seen.empty()) {
    EXPECT_NE(seen.find("list A2 '大米'"), std::string::npos) << seen;
  }
}

TEST(XmlTextTest, WhatXmlCannotHoldIsNeverWritten) {
  std::string out;
  AppendEscaped(out, "a\x01\x1B[31mb\tc\r\n<&>\"\xFF\xC3(\xED\xA0\x80\xEF\xBF\xBE 名");
  EXPECT_EQ(out, "a[31mb\tc&#13;\n&lt;&amp;&gt;&quot;\uFFFD\uFFFD(\uFFFD\uFFFD\uFFFD\uFFFD 名");
  EXPECT_EQ(XmlText(std::string("x\0y\xF4\x90\x80\x80", 7)), "xy\uFFFD\uFFFD\uFFFD\uFFFD");

  // A workbook holding such texts, in a cell and in a sheet name, writes XML every reader takes.
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("made");
  Sheet& sheet = book.AddSheet("Data\x07");
  sheet.SetValue(sheet.Range("A1"), Variant(std::string("bad \xFF\x00 bytes\x0B", 13)));
  SaveWorkbook(book, folder / "out.xlsx");
  for (const char* name : {"xl/workbook.xml", "xl/worksheets/sheet1.xml"}) {
    std::string part = PartOf(folder / "out.xlsx", name);
    EXPECT_TRUE(IsUtf8(part)) << name;
    EXPECT_EQ(part.find_first_of(std::string("\x00\x07\x0B", 3)), std::string::npos) << name;
    EXPECT_EQ(part.find("&#"), std::string::npos) << name << ": no character references";
  }
  std::string seen = ReadWithOpenpyxl(folder / "out.xlsx", "A1");
  if (!seen.empty()) {
    EXPECT_NE(seen.find("Data A1 'bad \uFFFD bytes'"), std::string::npos) << seen;
  }
}

// The message of parsing a part, empty when it parses.
std::string ParseMessage(std::string_view bytes) {
  pugi::xml_document document;
  try {
    ParseXml(document, bytes, "p.xml");
  } catch (const FormatError& error) {
    return error.what();
  }
  return "";
}

TEST(XmlTextTest, APartIsReadInUtf8Only) {
  const std::string other = "p.xml is written in ";
  const std::string only = ", which cannot be read (only UTF-8)";
  EXPECT_EQ(ParseMessage("\xFF\xFE<a/>"), other + "UTF-16" + only);
  EXPECT_EQ(ParseMessage("\xFE\xFF<a/>"), other + "UTF-16" + only);
  EXPECT_EQ(ParseMessage(std::string("<\0a\0/\0>\0", 8)), other + "UTF-16 or UTF-32" + only);
  EXPECT_EQ(ParseMessage("<?xml version=\"1.0\" encoding=\"GBK\"?><a/>"), other + "GBK" + only);
  EXPECT_EQ(ParseMessage("<?xml version='1.0' encoding='Shift_JIS' ?><a/>"),
            other + "Shift_JIS" + only);
  EXPECT_EQ(ParseMessage("<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>"), "");
  EXPECT_EQ(ParseMessage("<?xml version=\"1.0\" encoding=\"utf8\"?><a/>"), "");
  EXPECT_EQ(ParseMessage("<?xml version=\"1.0\"?><a encoding=\"GBK\"/>"), "");
  EXPECT_EQ(ParseMessage("<a encoding=\"GBK\"/>"), "");
  EXPECT_EQ(ParseMessage("<?xml version=\"1.0\" encoding=GBK?><a/>").rfind("p.xml is damaged", 0),
            0u);
  EXPECT_EQ(ParseMessage("<a>").rfind("p.xml is damaged", 0), 0u);
}

TEST(XmlTextTest, ARelationshipTargetIsAPathInThePackage) {
  EXPECT_EQ(ResolveTarget("xl/workbook.xml", "worksheets/sheet1.xml"), "xl/worksheets/sheet1.xml");
  EXPECT_EQ(ResolveTarget("xl/worksheets/sheet1.xml", "../drawings/drawing1.xml"),
            "xl/drawings/drawing1.xml");
  EXPECT_EQ(ResolveTarget("xl/workbook.xml", "/xl/styles.xml"), "xl/styles.xml");
  EXPECT_EQ(ResolveTarget("workbook.xml", "./a//b.xml"), "a/b.xml");
  EXPECT_EQ(ResolveTarget("xl/workbook.xml", "../../a.xml"), "a.xml");
}

}  // namespace
}  // namespace tavrin
