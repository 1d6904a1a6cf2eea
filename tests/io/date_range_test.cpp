#include "io_fixture.h"

namespace tavrin {
namespace {

// Cells with a date format whose serial the runtime cannot take as a date: the host shows them
// as "#######"; their text is the number.
TEST(DateRangeTest, DatesPastTheRuntimesRangeShowAndConvertAsTheirNumbers) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("dates");
  Sheet& sheet = book.AddSheet("Dates");
  sheet.SetValue(sheet.Range("A1"), Variant::Date(46364));
  sheet.SetValue(sheet.Range("A2"), Variant::Date(3000000));
  sheet.SetValue(sheet.Range("A3"), Variant::Date(-700000));
  SaveWorkbook(book, folder / "dates.xlsx");

  Sheet& back = OpenWorkbook(app, folder / "dates.xlsx").GetActiveSheet();
  ASSERT_TRUE(ValueAt(back, "A2").IsDate());
  EXPECT_EQ(back.Text(back.Range("A1")), "2026/12/8");
  EXPECT_EQ(back.Text(back.Range("A2")), "3000000");
  EXPECT_EQ(back.Text(back.Range("A3")), "-700000");
  SaveWorkbook(back.Parent(), folder / "dates.csv");
  EXPECT_EQ(ReadFileBytes(folder / "dates.csv"),
            "\xEF\xBB\xBF"
            "2026/12/8\r\n3000000\r\n-700000\r\n");
}

}  // namespace
}  // namespace tavrin
