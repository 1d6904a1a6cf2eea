#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/run_tavrin.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// A list filling the sheet to its last row is refused at once: status 1, the tool's message, no
// file written.
TEST(PageSubtotalsCommand, AFullListIsRefusedWithStatusOne) {
  fs::path dir = fs::temp_directory_path() / ("tavrin-pages-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::path list = dir / "list.csv";
  {
    std::ofstream csv(list);
    csv << "名称,金额\n";
    for (int r = 2; r <= 65536; ++r) csv << "n" << r << ',' << r << '\n';
  }
  fs::path out = dir / "out.xlsx";
  Outcome outcome =
      Tavrin("page-subtotals " + list.string() +
             " --data B2:B2 --label-column A2 --subtotal-label 小计 --total-label 合计 --yes -o " +
             out.string());
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.err.find("[Lumo提示]\n数据行数过多，每页加入小计行后将超出第65536行！\n"),
            std::string::npos)
      << outcome.err;
  EXPECT_FALSE(fs::exists(out));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace tavrin
