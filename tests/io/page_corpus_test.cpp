#include <fstream>
#include <sstream>

#include "io_fixture.h"

namespace tavrin {
namespace {

// The workbooks of data/pages/ and their breaks as breaks.txt gives them (read from LibreOffice's
// print by scripts/make-page-corpus, the host's where the two differ): one line a workbook,
// "name: 21M 71", M for a manual break.
std::vector<std::pair<std::string, std::string>> Corpus() {
  std::vector<std::pair<std::string, std::string>> cases;
  std::ifstream file("data/pages/breaks.txt");
  for (std::string line; std::getline(file, line);) {
    size_t colon = line.find(": ");
    if (line.empty() || line.front() == '#' || colon == std::string::npos) continue;
    cases.emplace_back(line.substr(0, colon), line.substr(colon + 2));
  }
  return cases;
}

std::string BreaksOf(Sheet& sheet) {
  std::ostringstream text;
  HPageBreaks& breaks = sheet.HPageBreaks();
  for (int i = 1; i <= breaks.Count(); ++i) {
    if (i > 1) text << ' ';
    text << breaks.Item(i).Location().Row();
    if (breaks.Item(i).Type() == xlPageBreakManual) text << 'M';
  }
  return text.str();
}

TEST(PageCorpusTest, EveryWorkbookBreaksWhereAPrintOfItBreaks) {
  std::vector<std::pair<std::string, std::string>> cases = Corpus();
  ASSERT_GE(cases.size(), 15u) << "data/pages/breaks.txt is missing or short";
  for (const auto& [name, expected] : cases) {
    Spreadsheet app;
    Book& book = OpenWorkbook(app, "data/pages/" + name + ".xlsx");
    EXPECT_EQ(BreaksOf(book.GetSheet(1)), expected) << name;
  }
}

}  // namespace
}  // namespace tavrin
