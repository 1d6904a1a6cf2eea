#include "io/cell_looks.h"

#include "io/added_formats.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

constexpr char kLooksMain[] = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr char kLooksTypes[] =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

// A workbook of one sheet whose styles part holds the given fonts, fills, cell formats and
// palette (colors), its cell A1 in the cell format 1.
Book& OpenStyled(Spreadsheet& app, const TempFolder& folder, const std::string& styles) {
  std::string rels = std::string("<Relationships xmlns=\"") +
                     "http://schemas.openxmlformats.org/package/2006/relationships\">";
  auto relationship = [&](const std::string& id, const std::string& type,
                          const std::string& target) {
    return "<Relationship Id=\"" + id + "\" Type=\"" + kLooksTypes + "/" + type + "\" Target=\"" +
           target + "\"/>";
  };
  std::vector<PackagePart> parts = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
       "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>"},
      {"_rels/.rels",
       rels + relationship("rId1", "officeDocument", "xl/workbook.xml") + "</Relationships>"},
      {"xl/_rels/workbook.xml.rels",
       rels + relationship("rId1", "worksheet", "worksheets/sheet1.xml") +
           relationship("rId2", "styles", "styles.xml") + "</Relationships>"},
      {"xl/workbook.xml", std::string("<workbook xmlns=\"") + kLooksMain + "\" xmlns:r=\"" +
                              kLooksTypes +
                              "\"><sheets><sheet name=\"Data\" sheetId=\"1\" r:id=\"rId1\"/>"
                              "</sheets></workbook>"},
      {"xl/styles.xml",
       std::string("<styleSheet xmlns=\"") + kLooksMain + "\">" + styles + "</styleSheet>"},
      {"xl/worksheets/sheet1.xml", std::string("<worksheet xmlns=\"") + kLooksMain +
                                       "\"><sheetData><row r=\"1\"><c r=\"A1\" s=\"1\">"
                                       "<v>1</v></c></row></sheetData></worksheet>"},
  };
  WriteFileAtomically(folder / "styled.xlsx", WriteZip(parts));
  return OpenWorkbook(app, folder / "styled.xlsx");
}

// The look of a cell format as the page gets it: "bold #RRGGBB", "" when plain.
std::string Look(const Book& book, uint32_t style) {
  const CellLook* look = LookOf(book, style);
  if (look == nullptr) return "";
  return std::string(look->bold ? "bold " : "") + look->FillText();
}

const std::string kFonts =
    "<fonts><font/><font><b/></font><font><b val=\"0\"/></font><font><b val=\"false\"/></font>"
    "</fonts>";
const std::string kFills =
    "<fills><fill><patternFill/></fill><fill><patternFill patternType=\"gray125\"/></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFddebf7\"/></patternFill></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor indexed=\"5\"/></patternFill></fill>"
    "<fill><patternFill patternType=\"solid\"><fgColor theme=\"4\"/></patternFill></fill>"
    "</fills>";
const std::string kFormats =
    "<cellXfs><xf/><xf fontId=\"1\" fillId=\"2\"/><xf fontId=\"2\" fillId=\"3\"/>"
    "<xf fontId=\"3\" fillId=\"4\"/><xf fontId=\"1\" fillId=\"1\"/>"
    "<xf fontId=\"99\" fillId=\"4294967295\"/></cellXfs>";

TEST(CellLooksTest, BoldFontsAndSolidFillsAreReadForEveryCellFormat) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenStyled(app, folder, kFonts + kFills + kFormats);
  EXPECT_EQ(Look(book, 0), "");
  EXPECT_EQ(Look(book, 1), "bold #DDEBF7");
  EXPECT_EQ(Look(book, 2), "#FFFF00");  // val="0": not bold; palette index 5 is yellow
  EXPECT_EQ(Look(book, 3), "");         // a theme colour is left out
  EXPECT_EQ(Look(book, 4), "bold ");    // a gray pattern is no fill
  EXPECT_EQ(Look(book, 5), "");         // a font and a fill the part does not have
  EXPECT_EQ(Look(book, 6), "");         // a format the part does not have
  EXPECT_EQ(Look(app.AddWorkbook("new"), 1), "");
}

TEST(CellLooksTest, APaletteOfTheFileReplacesTheStandardOne) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenStyled(app, folder,
                          kFonts + kFills + kFormats +
                              "<colors><indexedColors><rgbColor rgb=\"FF000000\"/>"
                              "<rgbColor rgb=\"FF000000\"/><rgbColor rgb=\"FF000000\"/>"
                              "<rgbColor rgb=\"FF000000\"/><rgbColor rgb=\"FF000000\"/>"
                              "<rgbColor rgb=\"FF123456\"/></indexedColors></colors>");
  EXPECT_EQ(Look(book, 2), "#123456");
}

TEST(CellLooksTest, NumberFormatsAndFontColoursAreReadByCodeOrBuiltInId) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenStyled(
      app, folder,
      "<numFmts><numFmt numFmtId=\"164\" formatCode=\"0.0%\"/>"
      "<numFmt numFmtId=\"165\" formatCode=\"General\"/></numFmts>"
      "<fonts><font/><font><color rgb=\"FF0070C0\"/></font><font><color rgb=\"FF000000\"/>"
      "</font><font><color theme=\"1\"/></font></fonts>"
      "<cellXfs><xf/><xf numFmtId=\"164\"/><xf numFmtId=\"4\" fontId=\"1\"/>"
      "<xf numFmtId=\"31\" fontId=\"2\"/><xf numFmtId=\"165\" fontId=\"3\"/></cellXfs>");
  auto format = [&](uint32_t style) {
    const CellLook* look = LookOf(book, style);
    return look == nullptr ? std::string("plain") : look->numberFormat;
  };
  EXPECT_EQ(format(1), "0.0%");
  EXPECT_EQ(format(2), "#,##0.00");
  EXPECT_EQ(format(3), "yyyy\"年\"m\"月\"d\"日\"");
  EXPECT_EQ(format(4), "plain");  // General by name, a theme colour left out
  EXPECT_EQ(ColourText(*LookOf(book, 2)->colour), "#0070C0");
  EXPECT_FALSE(LookOf(book, 3)->colour);  // black is the window's text colour
}

TEST(CellLooksTest, BordersAreReadSideBySideAsAPageDrawsThem) {
  TempFolder folder;
  Spreadsheet app;
  Book& book =
      OpenStyled(app, folder,
                 "<borders><border/><border><left style=\"thin\"/><top style=\"medium\"><color "
                 "rgb=\"FFFF0000\"/></top><bottom style=\"double\"/><right style=\"dashDot\"/>"
                 "</border></borders><cellXfs><xf/><xf borderId=\"1\"/></cellXfs>");
  ASSERT_NE(LookOf(book, 1), nullptr);
  EXPECT_EQ(LookOf(book, 1)->borders,
            (std::array<std::string, 4>{"2px solid #FF0000", "1px dashed #000000",
                                        "3px double #000000", "1px solid #000000"}));
}

// A colour of six digits counts, one of other characters does not, nor the palette's system
// colour 64; a font, fill or border one past those of the part is none; hair lines are dotted.
TEST(CellLooksTest, ColoursAndNumbersAtTheirEdges) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenStyled(
      app, folder,
      "<fonts><font/><font><b/></font></fonts><fills><fill><patternFill/></fill>"
      "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"C0FFEE\"/></patternFill></fill>"
      "<fill><patternFill patternType=\"solid\"><fgColor rgb=\"FFGG0000\"/></patternFill></fill>"
      "<fill><patternFill patternType=\"solid\"><fgColor indexed=\"64\"/></patternFill></fill>"
      "</fills><borders><border/><border><left style=\"hair\"/><top style=\"none\"/></border>"
      "</borders><cellXfs><xf/><xf fillId=\"1\" borderId=\"1\"/><xf fontId=\"1\" fillId=\"2\"/>"
      "<xf fontId=\"1\" fillId=\"3\"/><xf fontId=\"2\" fillId=\"4\" borderId=\"2\"/></cellXfs>");
  EXPECT_EQ(Look(book, 1), "#C0FFEE");
  EXPECT_EQ(Look(book, 2), "bold ");
  EXPECT_EQ(Look(book, 3), "bold ");
  EXPECT_EQ(Look(book, 4), "");
  ASSERT_NE(LookOf(book, 1), nullptr);
  EXPECT_EQ(LookOf(book, 1)->borders,
            (std::array<std::string, 4>{"", "", "", "1px dotted #000000"}));
}

// The number format a look shows, with "bold" before it when its font is bold.
std::string Shown(const Book& book, uint32_t style) {
  const CellLook* look = LookOf(book, style);
  if (look == nullptr) return "";
  return std::string(look->bold ? "bold " : "") + look->numberFormat;
}

TEST(AddedFormatsTest, AFileFormatShownAsAPercentageIsAddedOnceAfterTheFilesFormats) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenStyled(app, folder, kFonts + kFills + kFormats);
  EXPECT_EQ(FormatShowing(book, 1, 10), 6u);  // the file has six cell formats
  EXPECT_EQ(FormatShowing(book, 1, 10), 6u);
  EXPECT_EQ(FormatShowing(book, 6, 10), 6u);  // it shows "0.00%" already
  EXPECT_EQ(FormatShowing(book, 6, 9), 7u);   // the file's format 1 showing "0%"
  EXPECT_EQ(FormatShowing(book, 0, 9), 8u);
  EXPECT_EQ(Shown(book, 6), "bold 0.00%");
  EXPECT_EQ(Shown(book, 7), "bold 0%");
  EXPECT_EQ(Shown(book, 8), "0%");
  Sheet& sheet = book.GetSheet(1);
  sheet.Store().SetStyle(1, 1, 6);
  sheet.Store().SetStyle(2, 1, 8);
  sheet.Range("A2").SetValue(Variant(0.5));
  SaveWorkbook(book, folder / "out.xlsx");

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "out.xlsx");
  const Sheet& read = reread.GetSheet(1);
  EXPECT_EQ(Shown(reread, StyleAt(read, "A1")), "bold 0.00%");
  EXPECT_EQ(Shown(reread, StyleAt(read, "A2")), "0%");
  EXPECT_EQ(Look(reread, StyleAt(read, "A1")), "bold #DDEBF7");  // the fill is copied too
  std::string styles = PartOf(folder / "out.xlsx", "xl/styles.xml");
  EXPECT_NE(styles.find("<cellXfs count=\"9\">"), std::string::npos) << styles;
  EXPECT_NE(styles.find("<xf numFmtId=\"10\" fontId=\"1\" fillId=\"2\" applyNumberFormat=\"1\"/>"),
            std::string::npos)
      << styles;
}

TEST(AddedFormatsTest, AWorkbookMadeInMemoryGetsThemAfterTheMinimalStylesFormats) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("new");
  Sheet& sheet = book.AddSheet("Data");
  EXPECT_EQ(FormatShowing(book, 0, 10), 2u);  // after the default and the date format
  sheet.Range("A1").SetValue(Variant(0.125));
  sheet.Store().SetStyle(1, 1, 2);
  sheet.Range("A2").SetValue(Variant::Date(45444));
  SaveWorkbook(book, folder / "new.xlsx");

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "new.xlsx");
  EXPECT_EQ(Shown(reread, StyleAt(reread.GetSheet(1), "A1")), "0.00%");
  EXPECT_TRUE(ValueAt(reread.GetSheet(1), "A2").IsDate());
}

// A cell may carry a format number its workbook lacks (a copy from another workbook): shown in
// a new format, it starts from the workbook's first.
TEST(AddedFormatsTest, AFormatTheWorkbookLacksIsAddedFromItsFirst) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("new");
  Sheet& sheet = book.AddSheet("Data");
  EXPECT_EQ(FormatShowing(book, 2, 9), 2u);
  EXPECT_EQ(FormatShowing(book, 40, 10), 3u);
  sheet.Range("A1").SetValue(Variant(0.5));
  sheet.Store().SetStyle(1, 1, 2);
  sheet.Range("A2").SetValue(Variant(0.125));
  sheet.Store().SetStyle(2, 1, 3);
  SaveWorkbook(book, folder / "new.xlsx");

  Spreadsheet again;
  Book& reread = OpenWorkbook(again, folder / "new.xlsx");
  EXPECT_EQ(Shown(reread, StyleAt(reread.GetSheet(1), "A1")), "0%");
  EXPECT_EQ(Shown(reread, StyleAt(reread.GetSheet(1), "A2")), "0.00%");
  EXPECT_NE(PartOf(folder / "new.xlsx", "xl/styles.xml").find("<cellXfs count=\"4\">"),
            std::string::npos);
}

}  // namespace
}  // namespace tavrin
