#include "io/number_format.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

TEST(XlsxDate1904Test, CalendarFormatsAreToldFromTimesAlone) {
  for (const char* code :
       {"yyyy\\-mm\\-dd", "d/m/yy h:mm", "mmm", "[$-804]yyyy\"年\"m\"月\"", "dd hh:mm", "yyyy"})
    EXPECT_TRUE(IsCalendarFormat(code)) << code;
  for (const char* code : {"h:mm", "[h]:mm", "mm:ss", "hh:mm AM/PM", "\"day\" h", "[ss]"})
    EXPECT_FALSE(IsCalendarFormat(code)) << code;
  EXPECT_TRUE(IsDateFormat("[ss]"));  // elapsed seconds alone are a time still
}

// The sales list made a workbook counting dates from 1904: A2 holds 2026-01-03, D2 a duration
// of 30 hours in a [h]:mm format (cell format 5), which is the same in both counts.
void WriteSales1904(const std::filesystem::path& file) {
  WritePatchedCopy(
      "data/sales-libreoffice.xlsx", file,
      {{"xl/workbook.xml", {{"date1904=\"false\"", "date1904=\"true\""}}},
       {"xl/styles.xml",
        {{"<numFmts count=\"2\">",
          "<numFmts count=\"3\"><numFmt numFmtId=\"166\" "
          "formatCode=\"[h]:mm\"/>"},
         {"<cellXfs count=\"5\">", "<cellXfs count=\"6\">"},
         {"</cellXfs>",
          "<xf numFmtId=\"166\" fontId=\"0\" fillId=\"0\" borderId=\"0\" "
          "xfId=\"0\"/></cellXfs>"}}},
       {"xl/worksheets/sheet1.xml",
        {{"<v>46025</v>", "<v>44563</v>"},
         {"<c r=\"D2\" s=\"0\" t=\"n\"><v>35</v>", "<c r=\"D2\" s=\"5\" t=\"n\"><v>1.25</v>"}}}});
}

TEST(XlsxDate1904Test, DatesOfA1904WorkbookReadRightAndAreWrittenBackInItsCount) {
  TempFolder folder;
  WriteSales1904(folder / "in.xlsx");
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(ValueAt(sales, "A2"), Variant::Date(46025));  // 2026-01-03
  EXPECT_EQ(ValueAt(sales, "D2"), Variant::Date(1.25));

  sales.SetValue(sales.Range("A4"), Variant::Date(46030));  // 2026-01-08 in a date cell
  sales.SetValue(sales.Range("G2"), Variant::Date(46025));  // a date where no format was
  SaveWorkbook(book, folder / "out.xlsx");
  EXPECT_NE(PartOf(folder / "out.xlsx", "xl/workbook.xml").find("date1904=\"true\""),
            std::string::npos);
  std::string fresh = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(fresh.find("<c r=\"A2\" s=\"3\"><v>44563</v></c>"), std::string::npos);
  EXPECT_NE(fresh.find("<c r=\"D2\" s=\"5\"><v>1.25</v></c>"), std::string::npos);
  EXPECT_NE(fresh.find("<c r=\"A4\" s=\"3\"><v>44568</v></c>"), std::string::npos);
  EXPECT_NE(fresh.find("<c r=\"G2\" s=\"3\"><v>44563</v></c>"), std::string::npos);

  Spreadsheet again;
  Sheet& back = OpenWorkbook(again, folder / "out.xlsx").GetSheet(1);
  for (const char* cell : {"A2", "A3", "A4", "D2", "G2"})
    EXPECT_EQ(ValueAt(back, cell), ValueAt(sales, cell)) << cell;

  std::string seen = ReadWithOpenpyxl(folder / "out.xlsx", "A2 A4 G2");
  if (seen.empty()) GTEST_SKIP() << "/usr/bin/python3 with openpyxl is not installed";
  EXPECT_NE(seen.find("销售 A2 2026-01-03T00:00:00\n"
                      "销售 A4 2026-01-08T00:00:00\n"
                      "销售 G2 2026-01-03T00:00:00\n"),
            std::string::npos)
      << seen;
}

}  // namespace
}  // namespace tavrin
