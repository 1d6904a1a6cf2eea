#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_tavrin.h"
#include "io/workbook_file.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

class PageSubtotalsCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavrin-pages-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // Runs page subtotals on a workbook, the list's labels in A and its numbers in B from row 2.
  Outcome Run(const fs::path& workbook, const fs::path& result) {
    return Tavrin("page-subtotals " + workbook.string() +
                  " --data B2:B2 --label-column A2 --subtotal-label 小计 --total-label 合计 --yes "
                  "--no-preview -o " +
                  result.string());
  }

  fs::path dir;
};

TEST_F(PageSubtotalsCommand, AFullListIsRefusedWithStatusOne) {
  fs::path list = dir / "list.csv";
  {
    std::ofstream csv(list);
    csv << "名称,金额\n";
    for (int r = 2; r <= 65536; ++r) csv << "n" << r << ',' << r << '\n';
  }
  fs::path out = dir / "out.xlsx";
  Outcome outcome = Run(list, out);
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("[Lumo提示]\n数据行数过多，每页加入小计行后将超出第65536行！\n"),
            std::string::npos)
      << outcome.err;
  EXPECT_FALSE(fs::exists(out));
}

// The cases of data/pages/subtotals.txt: "name: 37 73 109 | 小计 小计 小计 合计", where
// LibreOffice's print of the tool's result starts each page after the first, and the label of
// each page's last printed row (scripts/make-subtotal-pages).
std::vector<std::pair<std::string, std::string>> PrintedCases() {
  std::vector<std::pair<std::string, std::string>> cases;
  std::ifstream file("data/pages/subtotals.txt");
  for (std::string line; std::getline(file, line);) {
    size_t colon = line.find(": ");
    if (line.empty() || line.front() == '#' || colon == std::string::npos) continue;
    cases.emplace_back(line.substr(0, colon), line.substr(colon + 2));
  }
  return cases;
}

bool Hidden(const Sheet& sheet, int row) {
  const LineFormat* format = sheet.Layout().rowFormats.Find(row);
  return format != nullptr && format->hidden;
}

// The result sheet's pages as it breaks them itself, written as the cases are.
std::string PagesOf(Sheet& sheet) {
  HPageBreaks& breaks = sheet.HPageBreaks();
  std::vector<int> tops{1};
  for (int i = 1; i <= breaks.Count(); ++i) tops.push_back(breaks.Item(i).Location().Row());
  tops.push_back(sheet.UsedArea()->LastRow() + 1);
  std::ostringstream starts, ends;
  for (size_t p = 0; p + 1 < tops.size(); ++p) {
    if (p > 0) starts << (p > 1 ? " " : "") << tops[p];
    int last = tops[p + 1] - 1;
    while (Hidden(sheet, last)) --last;
    ends << (p > 0 ? " " : "") << sheet.Range("A" + std::to_string(last)).Text();
  }
  return starts.str() + " | " + ends.str();
}

TEST_F(PageSubtotalsCommand, TheResultPagesAsLibreOfficePrintsIt) {
  std::vector<std::pair<std::string, std::string>> cases = PrintedCases();
  ASSERT_EQ(cases.size(), 3u) << "data/pages/subtotals.txt is missing or short";
  for (const auto& [name, printed] : cases) {
    fs::path result = dir / (name + ".xlsx");
    Outcome outcome = Run("data/pages/" + name + ".xlsx", result);
    ASSERT_EQ(outcome.status, 0) << name << "\n" << outcome.err;
    Spreadsheet app;
    Book& book = OpenWorkbook(app, result);
    EXPECT_EQ(PagesOf(book.GetSheet(2)), printed) << name;
  }
}

}  // namespace
}  // namespace tavrin
