#include <fstream>

#include "io/atomic_file.h"
#include "io_fixture.h"
#include "support/sanitized.h"

namespace tavrin {
namespace {

TEST(XlsTest, BinaryWorkbookFromLibreOfficeReadsAsValues) {
  Spreadsheet app;
  Book& book = OpenWorkbook(app, "data/sales-libreoffice.xls");
  EXPECT_EQ(book.Name(), "sales-libreoffice.xls");
  ASSERT_EQ(book.SheetCount(), 2);
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(sales.Name(), "销售");
  EXPECT_EQ(ValueAt(sales, "A1"), Variant("日期"));
  EXPECT_EQ(ValueAt(sales, "A2"), Variant::Date(46025));
  EXPECT_EQ(ValueAt(sales, "D2"), Variant(35));
  EXPECT_EQ(ValueAt(sales, "E3"), Variant(9.5));
  // libfreexl reports no formula cells: they come through empty.
  EXPECT_TRUE(ValueAt(sales, "F2").IsEmpty());
  Sheet& table = book.GetSheet(2);
  EXPECT_EQ(table.Name(), "交叉表");
  EXPECT_EQ(ValueAt(table, "B2"), Variant(96));
  EXPECT_EQ(ValueAt(table, "F4"), Variant("0"));
  EXPECT_FALSE(table.Store().HasContent(3, 3));
}

size_t ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stoul(line.substr(6));
  }
  return 0;
}

// libfreexl keeps some 18 KB of this damaged file for good each time it opens it. (Under the
// sanitizers, the leak checker sees what the process keeps at its end.)
TEST(XlsTest, OpeningADamagedFileOverAndOverTakesNoMoreMemory) {
  auto open = [] {
    Spreadsheet app;
    try {
      OpenWorkbook(app, "data/damaged-sst.xls");
    } catch (const FileError&) {
    }
  };
  for (int i = 0; i < 20; ++i) open();
  [[maybe_unused]] size_t before = ResidentKilobytes();
  for (int i = 0; i < 200; ++i) open();
#ifndef TAVRIN_SANITIZED
  EXPECT_LT(ResidentKilobytes() - std::min(before, ResidentKilobytes()), 1000u);
#endif
}

TEST(CsvTest, ImportReadsQuotesLineBreaksNumbersAndBooleans) {
  TempFolder folder;
  std::ofstream(folder / "list.csv", std::ios::binary)
      << "\xEF\xBB\xBF名称,数量,备注\r\n"
         "\"Smith, John\",1.5,\"say \"\"hi\"\"\"\r\n"
         "\"two\nlines\",-3e2,TRUE\n"
         "007,\"1,234\",false\r\n"
         ",,";
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "list.csv");
  EXPECT_EQ(book.Name(), "list.csv");
  Sheet& sheet = book.GetActiveSheet();
  EXPECT_EQ(sheet.Name(), "list");
  EXPECT_EQ(ValueAt(sheet, "A1"), Variant("名称"));
  EXPECT_EQ(ValueAt(sheet, "A2"), Variant("Smith, John"));
  EXPECT_EQ(ValueAt(sheet, "B2"), Variant(1.5));
  EXPECT_EQ(ValueAt(sheet, "C2"), Variant("say \"hi\""));
  EXPECT_EQ(ValueAt(sheet, "A3"), Variant("two\nlines"));
  EXPECT_EQ(ValueAt(sheet, "B3"), Variant(-300));
  EXPECT_EQ(ValueAt(sheet, "C3"), Variant::Boolean(true));
  EXPECT_EQ(ValueAt(sheet, "A4"), Variant(7));
  EXPECT_EQ(ValueAt(sheet, "B4"), Variant(1234));
  EXPECT_EQ(ValueAt(sheet, "C4"), Variant::Boolean(false));
  EXPECT_EQ(sheet.Store().ContentCount(Area{5, 1, 1, 256}), 0);
}

// Lines end in CR LF, LF or CR alone; a blank line is an empty row; the last line needs no end,
// nor a quote left open its close.
TEST(CsvTest, EveryLineEndCountsAndTheSheetsBoundsHold) {
  TempFolder folder;
  std::ofstream(folder / "ends.csv", std::ios::binary) << "a\r\rb\n\nc\r\nd\n\"open,x";
  Spreadsheet app;
  Sheet& sheet = OpenWorkbook(app, folder / "ends.csv").GetActiveSheet();
  const std::pair<const char*, Variant> cells[] = {
      {"A1", Variant("a")}, {"A2", Variant()},    {"A3", Variant("b")},     {"A4", Variant()},
      {"A5", Variant("c")}, {"A6", Variant("d")}, {"A7", Variant("open,x")}};
  for (const auto& [at, value] : cells) EXPECT_EQ(ValueAt(sheet, at), value) << at;
  std::ofstream(folder / "last-cr.csv", std::ios::binary) << "x,y\r";
  Sheet& lastCr = OpenWorkbook(app, folder / "last-cr.csv").GetActiveSheet();
  EXPECT_EQ(ValueAt(lastCr, "B1"), Variant("y"));
  EXPECT_EQ(lastCr.UsedArea()->rows, 1);

  std::string lines;
  for (int i = 0; i < kLastRow; ++i) lines += "1\n";
  std::string fields(kLastColumn - 1, ',');
  for (const auto& file : std::vector<std::pair<std::string, std::string>>{
           {"rows.csv", lines}, {"columns.csv", fields + "x"}}) {
    const std::string& name = file.first;
    const std::string& text = file.second;
    std::ofstream(folder / name, std::ios::binary) << text;
    EXPECT_EQ(FileErrorOf([&] { OpenWorkbook(app, folder / name); }), "") << name;
    std::ofstream(folder / ("over-" + name), std::ios::binary)
        << (name == "rows.csv" ? lines + "1" : fields + ",x");
    EXPECT_NE(FileErrorOf([&] { OpenWorkbook(app, folder / ("over-" + name)); }), "") << name;
  }
  EXPECT_EQ(ValueAt(app.GetWorkbook("rows.csv").GetActiveSheet(), "A65536"), Variant(1));
  EXPECT_EQ(ValueAt(app.GetWorkbook("columns.csv").GetActiveSheet(), "IV1"), Variant("x"));

  Book& empty = app.AddWorkbook("empty");
  empty.AddSheet("Data");
  SaveWorkbook(empty, folder / "empty.csv");
  EXPECT_EQ(ReadFileBytes(folder / "empty.csv"), "\xEF\xBB\xBF");
}

TEST(CsvTest, ExportStartsAtA1WritesValuesAsDisplayedAndReadsBackInPlace) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("made");
  Sheet& sheet = book.AddSheet("Data");
  sheet.SetValue(sheet.Range("B2"), Variant("a,b"));
  sheet.SetValue(sheet.Range("C2"), Variant(1.5));
  sheet.SetValue(sheet.Range("B3"), Variant("say \"hi\"\r\nbye"));
  sheet.SetValue(sheet.Range("D3"), Variant::Boolean(true));
  sheet.Store().SetContent(4, 3, Variant(ErrorValue::NA), nullptr);
  SaveWorkbook(book, folder / "out.csv");
  EXPECT_EQ(ReadFileBytes(folder / "out.csv"),
            "\xEF\xBB\xBF,,,\r\n"
            ",\"a,b\",1.5,\r\n"
            ",\"say \"\"hi\"\"\r\nbye\",,TRUE\r\n"
            ",,#N/A,\r\n")
      << "the empty row 1 and column A are kept";
  Sheet& back = OpenWorkbook(app, folder / "out.csv").GetActiveSheet();
  EXPECT_EQ(ValueAt(back, "B2"), Variant("a,b"));
  EXPECT_EQ(ValueAt(back, "C2"), Variant(1.5));
  EXPECT_EQ(ValueAt(back, "B3"), Variant("say \"hi\"\r\nbye"));
  EXPECT_EQ(ValueAt(back, "D3"), Variant::Boolean(true));
}

TEST(CsvTest, EarlyDatesAreWrittenInTheHostsCalendar) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = app.AddWorkbook("made");
  Sheet& sheet = book.AddSheet("Data");
  sheet.SetValue(sheet.Range("A1"), "=DATE(1900,1,1)");
  sheet.Store().SetContent(2, 1, Variant::Date(59.5), nullptr);
  sheet.Store().SetContent(3, 1, Variant::Date(60), nullptr);
  sheet.Store().SetContent(4, 1, Variant::Date(0), nullptr);
  sheet.Store().SetContent(5, 1, Variant::Date(61), nullptr);
  SaveWorkbook(book, folder / "out.csv");
  EXPECT_EQ(ReadFileBytes(folder / "out.csv"),
            "\xEF\xBB\xBF"
            "1900/1/1\r\n1900/2/28 12:00:00\r\n1900/2/29\r\n1900/1/0\r\n1900/3/1\r\n");
}

}  // namespace
}  // namespace tavrin
