#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/run_tavrin.h"
#include "io/workbook_file.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class CommandLine : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavrin-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    book = dir / "sales.xlsx";
    fs::copy_file("../examples/sales.xlsx", book, fs::copy_options::overwrite_existing);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Book() const { return book.string(); }

  fs::path dir;
  fs::path book;
};

TEST_F(CommandLine, BaseConversionPrintsTheResult) {
  Outcome outcome = Tavrin("base FF --from 16 --to 2 --group 4");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "1111,1111\n");
  outcome = Tavrin("base 12 --from 2 --to 10");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.out, "在该进制下，参数中含有非法字符\n");
  EXPECT_EQ(Tavrin("BaseToBase 255 --from 10 --to 16").out, "FF\n") << "the method's name";
}

TEST_F(CommandLine, UsageErrorsExitWithTwo) {
  EXPECT_EQ(Tavrin("").status, 2);
  EXPECT_EQ(Tavrin("no-such-command").status, 2);
  EXPECT_EQ(Tavrin("clear-zeros").status, 2) << "FILE is required";
  EXPECT_EQ(Tavrin("clear-zeros " + Book() + " --sheet Nowhere --range A1").status, 2);
  EXPECT_EQ(Tavrin("clear-zeros " + Book() + " --control Nothing=1 --range A1").status, 2);
  EXPECT_EQ(Tavrin("--help").status, 0);
}

TEST_F(CommandLine, ASwitchTakesTheWordsOfOnAndOffAndNothingElse) {
  for (const char* word : {"true", "Yes", "1", "false", "NO", "0", ""}) {
    EXPECT_NE(
        Tavrin("clear-zeros " + Book() + " --control CheckBox1=" + word + " --range A1").status, 2)
        << word;
  }
  Outcome maybe = Tavrin("clear-zeros " + Book() + " --control CheckBox1=maybe --range A1");
  EXPECT_EQ(maybe.status, 2);
  EXPECT_NE(maybe.err.find("--control CheckBox1 takes true or false, not 'maybe'"),
            std::string::npos)
      << maybe.err;
}

TEST_F(CommandLine, BadFilesExitWithTwoAndWriteNothing) {
  Outcome missing = Tavrin("show " + (dir / "missing.xlsx").string());
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("missing.xlsx"), std::string::npos);
  std::ofstream(dir / "notes.txt") << "hello";
  EXPECT_EQ(Tavrin("show " + (dir / "notes.txt").string()).status, 2);
  std::ofstream(dir / "fake.xlsx") << "not a zip";
  fs::path out = dir / "out.xlsx";
  EXPECT_EQ(Tavrin("convert " + (dir / "fake.xlsx").string() + " -o " + out.string()).status, 2);
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(CommandLine, TrialRunShowsTheChangesAndWritesNothing) {
  auto before = fs::last_write_time(book);
  Outcome outcome = Tavrin("clear-zeros " + Book() + " --sheet Zeros --range B2:D4");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("Zeros!B2\t0\t-> (empty)"), std::string::npos) << outcome.out;
  EXPECT_EQ(outcome.out.find("Zeros!D3"), std::string::npos) << "a formula stays";
  EXPECT_NE(outcome.err.find("[Lumo提示]\n请选定你要清零的单元格区域\n-> B2:D4"), std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.err.find("Trial run"), std::string::npos);
  EXPECT_EQ(fs::last_write_time(book), before);
}

// A sheet the run added is named with its size; past 200 cells the listing is counted, not shown.
TEST_F(CommandLine, TheChangesOfALongRunAndANewSheetAreSummed) {
  Outcome subtotals = Tavrin("page-subtotals " + Book() +
                             " --data D2:E2 --label-column A1 --subtotal-label 小计 "
                             "--total-label 合计");
  EXPECT_EQ(subtotals.out,
            "New sheet \"Sales (2)\", $A$1:$E$125, 617 cells: see it with show --sheet "
            "\"Sales (2)\"\n");
  Outcome summary = Tavrin("summarize " + Book() +
                           " --list A1:E121 --keys A1:B1 --values D1:E1 --target A1 --yes");
  EXPECT_TRUE(summary.out.starts_with("Sales!A1\tRegion\t-> (empty)\n")) << summary.out;
  EXPECT_NE(summary.out.find("\nSales!C2\t1\t-> 12180\n"), std::string::npos);
  EXPECT_TRUE(summary.out.ends_with("\n... and 46 more changed cells\n"));
}

TEST_F(CommandLine, OutputWritesTheResultAndLeavesTheInput) {
  fs::path out = dir / "cleared.xlsx";
  Outcome outcome = Tavrin("clear-zeros " + Book() +
                           " --sheet Zeros --range B2:D4 --no-preview -o " + out.string());
  ASSERT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out, "");
  Outcome shown = Tavrin("show " + out.string() + " --sheet Zeros --range B2:B2");
  EXPECT_EQ(shown.out, "Zeros!$B$2\n  | B\n2 |  \n");
  EXPECT_NE(Tavrin("show " + Book() + " --sheet Zeros --range B2").out.find("| 0"),
            std::string::npos);
}

TEST_F(CommandLine, ShowSaysASheetIsEmpty) {
  Spreadsheet app;
  tavrin::Book& blank = app.AddWorkbook("blank.xlsx");
  blank.AddSheet("Blank");
  SaveWorkbook(blank, dir / "blank.xlsx");
  Outcome outcome = Tavrin("show " + (dir / "blank.xlsx").string());
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.out, "Blank: empty\n");
}

TEST_F(CommandLine, InPlaceWritesOverTheFile) {
  ASSERT_EQ(Tavrin("clear-zeros " + Book() + " --sheet Zeros --range B2 --in-place").status, 0);
  EXPECT_EQ(Tavrin("show " + Book() + " --sheet Zeros --range B2").out,
            "Zeros!$B$2\n  | B\n2 |  \n");
}

TEST_F(CommandLine, QuestionsTakeTheDefaultWithoutATerminal) {
  Outcome outcome = Tavrin("clear-zero-values " + Book() + " --sheet Zeros --range B2:D4");
  EXPECT_EQ(outcome.status, 1) << "No stops the run before it finishes";
  EXPECT_NE(outcome.err.find("是否执行此功能？\nYes / No (default No): no terminal, default taken\n"
                             "-> No\n"),
            std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.err.find("The run stopped before finishing: nothing written.\n"),
            std::string::npos);
  EXPECT_NE(outcome.out.find("No cell changed."), std::string::npos);
}

TEST_F(CommandLine, FailureReportExitsWithOneAndWritesNothing) {
  fs::path out = dir / "never.xlsx";
  Outcome outcome = Tavrin("clear-zero-values " + Book() +
                           " --sheet Sales --range A1:B2 --yes -o " + out.string());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("[未知错误]\n错误内容：\n\n\t类型不匹配"), std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.err.find("The run failed: nothing written."), std::string::npos)
      << "a failure, not a run stopped by the user: " << outcome.err;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(CommandLine, StaleTokenShowsTheMessageAndChangesNothing) {
  Outcome outcome = Tavrin("clear-zeros " + Book() + " --range A1 --token 12345");
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("[Lumo提示]\n类初始化序号不对：你在打开本文件时可能未启用宏。\n"),
            std::string::npos);
}

TEST_F(CommandLine, ConvertKeepsAnotherProgramsWorkbook) {
  fs::path xlsx = dir / "copy.xlsx";
  fs::path csv = dir / "cross.csv";
  std::string original = "data/sales-libreoffice.xlsx";
  ASSERT_EQ(Tavrin("convert " + original + " -o " + xlsx.string()).status, 0);
  for (const char* sheet : {"销售", "交叉表"}) {
    std::string options = std::string(" --sheet ") + sheet;
    EXPECT_EQ(Tavrin("show " + xlsx.string() + options).out,
              Tavrin("show " + original + options).out)
        << sheet;
  }
  ASSERT_EQ(Tavrin("convert " + original + " --sheet 交叉表 -o " + csv.string()).status, 0);
  EXPECT_EQ(Tavrin("show " + csv.string()).status, 0);
  EXPECT_EQ(Tavrin("convert " + original + " -o " + (dir / "x.pdf").string()).status, 2);
}

TEST_F(CommandLine, ShowPrintsTheUsedAreaAndMenuPrintsTheMenu) {
  Outcome outcome = Tavrin("show " + Book() + " --sheet Cross");
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("Cross!$A$1:$D$4"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("North"), std::string::npos);
  Outcome menu = Tavrin("menu");
  EXPECT_NE(menu.out.find("汇总与查找  [Tavrin.xls!F2]  icon 4153"), std::string::npos);
}

TEST_F(CommandLine, AnEmptyValueAfterTheEqualsSignIsEmpty) {
  Outcome outcome = Tavrin("lookup " + Book() +
                           " --target-index A2:A3 --target-data G2:G3 --source-table C1:E10"
                           " --source-index C1 --source-data E1 --not-found= --yes");
  EXPECT_EQ(outcome.status, 0) << outcome.err;
  EXPECT_EQ(outcome.out.find("--yes"), std::string::npos) << outcome.out;
}

TEST_F(CommandLine, AWordAnOptionDoesNotTakeIsAUsageError) {
  std::string keyed = "keyed " + Book() + " --source-keys A2:B9 --source-data D2 --target-keys H2";
  Outcome outcome = Tavrin(keyed + " --task everything --mode sum");
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("--task takes one of summarize, lookup, distinct"), std::string::npos)
      << outcome.err;
  EXPECT_EQ(Tavrin(keyed + " --task 1 --mode often").status, 2);
  EXPECT_EQ(Tavrin(keyed + " --task 1 --mode 1").status, 0) << "the numbers are words too";
}

TEST_F(CommandLine, AUsersTavrinXlsIsRefusedWithASentence) {
  fs::path named = dir / "Tavrin.xls";
  fs::copy_file("data/sales-libreoffice.xls", named);
  Outcome outcome = Tavrin("clear-zeros " + named.string() + " --range A1");
  EXPECT_EQ(outcome.status, 2);
  EXPECT_NE(outcome.err.find("Tavrin.xls cannot be opened beside the toolbox's own"),
            std::string::npos)
      << outcome.err;
}

TEST_F(CommandLine, ShowComputesTheConversionFunctions) {
  fs::path made = dir / "made.xlsx";
  {
    Spreadsheet app;
    tavrin::Book& workbook = app.AddWorkbook("made");
    Sheet& sheet = workbook.AddSheet("Data");
    sheet.SetValue(sheet.Range("A1"), Variant("=ToDec(\"FF\",16)"));
    sheet.SetValue(sheet.Range("A2"), Variant("=DecTo(5,2)"));
    SaveWorkbook(workbook, made.string());
  }
  Outcome outcome = Tavrin("show " + made.string());
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.out.find("255"), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find("101"), std::string::npos) << outcome.out;
}

}  // namespace
}  // namespace tavrin
