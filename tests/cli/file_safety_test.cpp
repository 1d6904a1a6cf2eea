#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/run_tavrin.h"
#include "io/atomic_file.h"
#include "io/workbook_file.h"
#include "io/zip_archive.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class FileSafety : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavrin-safety-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    book = dir / "sales.xlsx";
    fs::copy_file("../examples/sales.xlsx", book);
    original = ReadFileBytes(book);
  }
  void TearDown() override { fs::remove_all(dir); }

  // The names in the folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path dir;
  fs::path book;
  std::string original;
};

TEST_F(FileSafety, AnOutputThatIsTheInputIsRefusedWhateverItsPath) {
  fs::create_directories(dir / "x");
  fs::create_symlink("sales.xlsx", dir / "link.xlsx");
  fs::create_hard_link(book, dir / "hard.xlsx");
  std::vector<std::string> before = Files();
  for (const fs::path& output :
       {book, dir / "x" / ".." / "sales.xlsx", dir / "link.xlsx", dir / "hard.xlsx"}) {
    Outcome tool = Tavrin("clear-zeros " + book.string() + " --sheet Zeros --range B2:D4 -o " +
                          output.string());
    EXPECT_EQ(tool.status, 2) << output;
    EXPECT_EQ(tool.err, "tavrin clear-zeros: -o: '" + output.string() +
                            "' is the input file itself (write over it with --in-place); "
                            "nothing written\n");
    Outcome convert = Tavrin("convert " + book.string() + " -o " + output.string());
    EXPECT_EQ(convert.status, 2) << output;
    EXPECT_EQ(convert.err, "tavrin convert: -o: '" + output.string() +
                               "' is the input file itself (convert writes a new file); "
                               "nothing written\n");
  }
  EXPECT_EQ(ReadFileBytes(book), original);
  EXPECT_EQ(Files(), before);
  EXPECT_EQ(Tavrin("clear-zeros " + book.string() + " --sheet Zeros --range B2 --no-preview -o " +
                   (dir / "new.xlsx").string())
                .status,
            0)
      << "another file is written";
}

TEST_F(FileSafety, InPlaceThroughALinkWritesWhereTheLinkLeads) {
  fs::create_symlink("sales.xlsx", dir / "link.xlsx");
  Outcome outcome = Tavrin("clear-zeros " + (dir / "link.xlsx").string() +
                           " --sheet Zeros --range B2 --in-place");
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_TRUE(fs::is_symlink(dir / "link.xlsx"));
  EXPECT_NE(ReadFileBytes(book), original);
  EXPECT_EQ(Tavrin("show " + book.string() + " --sheet Zeros --range B2").out,
            "Zeros!$B$2\n  | B\n2 |  \n");
  EXPECT_EQ(Files(), (std::vector<std::string>{"link.xlsx", "sales.xlsx"}));
}

TEST_F(FileSafety, ACsvInTheChineseLocaleCodePageConvertsToTheSameTexts) {
  std::ofstream(dir / "list.csv", std::ios::binary)
      << "\xC3\xFB\xB3\xC6,\xCA\xFD\xC1\xBF\r\n\xB4\xF3\xC3\xD7,3\r\n";
  Outcome shown = Tavrin("show " + (dir / "list.csv").string());
  EXPECT_EQ(shown.out, "list!$A$1:$B$2\n  | A    | B   \n1 | 名称 | 数量\n2 | 大米 | 3   \n");
  ASSERT_EQ(Tavrin("convert " + (dir / "list.csv").string() + " -o " + (dir / "list.xlsx").string())
                .status,
            0);
  EXPECT_EQ(Tavrin("show " + (dir / "list.xlsx").string()).out, shown.out);

  std::ofstream(dir / "latin.csv", std::ios::binary) << "caf\xE9\n";
  EXPECT_EQ(Tavrin("show " + (dir / "latin.csv").string() + " --encoding latin1").out,
            "latin!$A$1\n  | A   \n1 | café\n");
  std::string latin = (dir / "latin.csv").string() + " --encoding klingon";
  for (const std::string& command : {"show " + latin, "clear-zeros " + latin + " --range A1",
                                     "convert " + latin + " -o " + (dir / "out.xlsx").string()}) {
    Outcome unknown = Tavrin(command);
    EXPECT_EQ(unknown.status, 2) << command;
    EXPECT_NE(unknown.err.find("--encoding: no character encoding is named 'klingon'"),
              std::string::npos)
        << unknown.err;
  }
}

TEST_F(FileSafety, ARunThatStopsAtACheckExitsWithOneAndWritesNothing) {
  fs::path out = dir / "out.xlsx";
  std::string to = " -o " + out.string();
  auto stopped = [&](const std::string& arguments) {
    Outcome outcome = Tavrin(arguments + to);
    EXPECT_EQ(outcome.status, 1) << arguments << "\n" << outcome.err;
    EXPECT_TRUE(outcome.err.ends_with("The run stopped before finishing: nothing written.\n"))
        << outcome.err;
    EXPECT_FALSE(fs::exists(out));
    return outcome.err;
  };
  std::string sales = book.string();
  EXPECT_NE(stopped("summarize " + sales + " --list A1:E121 --keys A1 --values B1 --target H1")
                .find("个文本值，程序无法运行！"),
            std::string::npos)
      << "text in the values";
  EXPECT_NE(
      stopped("summarize " + sales + " --list A1:E121 --keys A1 --values D1 --target H1 --token 1")
          .find("类初始化序号不对"),
      std::string::npos)
      << "a stale token";
  stopped("lookup " + sales +
          " --sheet Lookup --target-index G2:G6 --target-data A2:B2 --source-table A1:D21 "
          "--source-index A1 --source-data C1:D1 --no");
  stopped("sum-lookup " + sales +
          " --sheet Lookup --target-keys G2:H6 --output-column I2 --source-keys A2:B21 "
          "--source-data C2:D21 --control RefEdit1=");
  stopped("clear-zero-values " + sales + " --sheet Zeros --range B2:D4 --no");
  stopped("clear-zeros " + sales + " --sheet Zeros");
  EXPECT_EQ(Tavrin("partition " + sales +
                   " --title-rows 1 --groups-across 3 --lead-columns 0 --group-rows 40 "
                   "--gap-columns 1 --yes --no-preview" +
                   to)
                .status,
            0)
      << "a full run";
  EXPECT_EQ(ReadFileBytes(book), original);
}

TEST_F(FileSafety, AFileWithASheetNameTheHostRefusesIsAFileError) {
  std::vector<PackagePart> parts = ReadZip(original);
  for (PackagePart& part : parts) {
    if (part.name != "xl/workbook.xml") continue;
    size_t at = part.bytes.find("name=\"Cross\"");
    ASSERT_NE(at, std::string::npos);
    part.bytes.replace(at, 12, "name=\"Q1:Q2\"");
  }
  fs::path bad = dir / "bad.xlsx";
  WriteFileAtomically(bad, WriteZip(parts));
  for (const std::string& command :
       {"show " + bad.string(), "convert " + bad.string() + " -o " + (dir / "out.xlsx").string(),
        "clear-zeros " + bad.string() + " --range A1"}) {
    Outcome outcome = Tavrin(command);
    EXPECT_EQ(outcome.status, 2) << command;
    EXPECT_NE(outcome.err.find(": Cannot open \"" + bad.string() +
                               "\": the sheet name \"Q1:Q2\" holds \":\", which no sheet name "
                               "can hold.\n"),
              std::string::npos)
        << outcome.err;
  }
  EXPECT_FALSE(fs::exists(dir / "out.xlsx"));
}

TEST_F(FileSafety, ShowAndConvertNameABadSheetOrRangeAsAUsageError) {
  std::string sales = book.string();
  Outcome range = Tavrin("show " + sales + " --range ZZZ1");
  EXPECT_EQ(range.status, 2);
  EXPECT_EQ(range.err, "tavrin show: --range: 'ZZZ1' is no address on the sheet\n");
  Outcome sheet = Tavrin("show " + sales + " --sheet Nope");
  EXPECT_EQ(sheet.status, 2);
  EXPECT_EQ(sheet.err, "tavrin show: no sheet named 'Nope' in " + sales + "\n");
  Outcome convert = Tavrin("convert " + sales + " --sheet Nope -o " + (dir / "x.csv").string());
  EXPECT_EQ(convert.status, 2);
  EXPECT_EQ(convert.err, "tavrin convert: no sheet named 'Nope' in " + sales + "\n");
  EXPECT_FALSE(fs::exists(dir / "x.csv"));
}

TEST_F(FileSafety, ErrorValuesAreListedAndShownAsTheHostShowsThem) {
  Spreadsheet app;
  Book& made = app.AddWorkbook("errors.xlsx");
  Sheet& sheet = made.AddSheet("Data");
  sheet.Store().SetContent(1, 1, Variant(ErrorValue::NA), nullptr);
  sheet.Store().SetContent(1, 2, Variant(0), nullptr);
  sheet.Store().SetContent(2, 1, Variant(ErrorValue::Div0), nullptr);
  fs::path errors = dir / "errors.xlsx";
  SaveWorkbook(made, errors);

  Outcome outcome = Tavrin("clear-zeros " + errors.string() + " --range A1:B2 --preview");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "Data!B1\t0\t-> (empty)\n");
  EXPECT_EQ(Tavrin("show " + errors.string()).out,
            "Data!$A$1:$B$2\n  | A       | B\n1 | #N/A    | 0\n2 | #DIV/0! |  \n");
}

}  // namespace
}  // namespace tavrin
