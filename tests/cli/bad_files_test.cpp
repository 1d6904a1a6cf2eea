#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/run_tavrin.h"
#include "io/atomic_file.h"
#include "io/zip_archive.h"
#include "support/sanitized.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// A command run on FILE: the command with its options, each option a flag and its value.
struct ToolRun {
  std::string command;
  std::vector<std::pair<std::string, std::string>> options;
  std::string flags;
};

// Every tool command with options that run it to its end on the example workbook's first sheet.
const std::vector<ToolRun> kToolRuns = {
    {"summarize",
     {{"--list", "A1:E121"}, {"--keys", "A1:B1"}, {"--values", "D1:E1"}, {"--target", "H1"}},
     ""},
    {"sum-lookup",
     {{"--target-keys", "A2:B6"},
      {"--output-column", "H2"},
      {"--source-keys", "A2:B21"},
      {"--source-data", "D2:E21"}},
     ""},
    {"lookup",
     {{"--target-index", "A2:A6"},
      {"--target-data", "H2:I2"},
      {"--source-table", "A1:E21"},
      {"--source-index", "A1"},
      {"--source-data", "D1:E1"}},
     "--not-found none"},
    {"keyed",
     {{"--source-keys", "A1:B121"}, {"--source-data", "D1:E121"}, {"--target-keys", "H1"}},
     "--task summarize --mode sum --headers"},
    {"list-to-table",
     {{"--list", "A1:E121"},
      {"--destination", "H1"},
      {"--row-field", "A1"},
      {"--column-field", "B1"},
      {"--value-field", "D1"}},
     "--sum"},
    {"table-to-list", {{"--table", "A1:E4"}, {"--destination", "H1"}}, "--by-row"},
    {"page-subtotals",
     {{"--data", "D2:E2"}, {"--label-column", "A1"}},
     "--subtotal-label s --total-label t"},
    {"partition",
     {},
     "--title-rows 1 --groups-across 3 --lead-columns 0 --group-rows 40 --gap-columns 1"},
    {"clear-zeros", {{"--range", "B2:D4"}}, ""},
    {"clear-zero-values", {{"--range", "B2:D4"}}, ""},
};

// The command line of a run on a file, with the value of one option replaced.
std::string CommandLineOf(const ToolRun& run, const fs::path& file, const std::string& option = "",
                          const std::string& value = "") {
  std::string line = run.command + " " + Quoted(file.string());
  for (const auto& [flag, given] : run.options) {
    line += " " + flag + " " + Quoted(flag == option ? value : given);
  }
  if (option == "--select") line += " --select " + Quoted(value);
  return line + " " + run.flags + " --yes";
}

// Whether a sanitizer of a checking build reported an error (which may exit with status 1).
bool SanitizerReported(const Outcome& outcome) {
  return outcome.err.find("Sanitizer") != std::string::npos ||
         outcome.err.find("runtime error:") != std::string::npos;
}

class BadFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavrin-bad-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    example = ReadFileBytes("../examples/sales.xlsx");
  }
  void TearDown() override { fs::remove_all(dir); }

  void Write(const std::string& name, std::string_view bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // The example workbook with one part changed by `edit`, written under the name.
  template <class Edit>
  void WriteEdited(const std::string& name, Edit&& edit) {
    std::vector<PackagePart> parts = ReadZip(example);
    edit(parts);
    Write(name, WriteZip(parts));
  }

  static std::string& PartNamed(std::vector<PackagePart>& parts, const std::string& name) {
    for (PackagePart& part : parts) {
      if (part.name == name) return part.bytes;
    }
    throw std::invalid_argument(name);
  }

  // The names in the folder and the bytes of each file, to see that a run changed nothing.
  std::vector<std::pair<std::string, std::string>> Contents() const {
    std::vector<std::pair<std::string, std::string>> contents;
    for (const auto& entry : fs::directory_iterator(dir)) {
      std::string name = entry.path().filename().string();
      contents.emplace_back(name, fs::is_regular_file(entry.path()) && !fs::is_symlink(entry.path())
                                      ? ReadFileBytes(entry.path())
                                      : std::string("(not a file)"));
    }
    std::sort(contents.begin(), contents.end());
    return contents;
  }

  // Runs the command line (with -o unless it is show's); it must end with a message and one of
  // the statuses, within its time, leaving every file of the folder as it was and no new one.
  void ExpectRefused(const std::string& line, std::initializer_list<int> statuses,
                     const std::string& mention = "") {
    auto before = Contents();
    bool show = line.starts_with("show ");
    Outcome outcome = Tavrin(line + (show ? "" : " -o " + Quoted((dir / "out.xlsx").string())));
    EXPECT_TRUE(std::find(statuses.begin(), statuses.end(), outcome.status) != statuses.end())
        << line << "\nstatus " << outcome.status << "\n"
        << outcome.err;
    EXPECT_FALSE(outcome.err.empty()) << line;
    EXPECT_FALSE(SanitizerReported(outcome)) << line << "\n" << outcome.err;
    EXPECT_NE(outcome.err.find(mention), std::string::npos) << line << "\n" << outcome.err;
    EXPECT_TRUE(Contents() == before) << line << ": a file changed or was left behind";
  }

  fs::path dir;
  std::string example;
};

TEST_F(BadFiles, DamagedTruncatedLyingAndHostileFilesAreFileErrorsForEveryCommand) {
  Write("cut.xlsx", std::string_view(example).substr(0, example.size() / 2));
  Write("text.xlsx", "name,amount\nrice,3\n");
  Write("empty.xlsx", "");
  Write("empty.xls", "");
  Write("garbage.xls", std::string(4096, '\x9C'));
  Write("zip.xls", example);
  fs::create_directories(dir / "folder.xlsx");
  WriteEdited("no-workbook.xlsx", [](std::vector<PackagePart>& parts) {
    std::erase_if(parts, [](const PackagePart& part) { return part.name == "xl/workbook.xml"; });
  });
  WriteEdited("not-xml.xlsx", [](std::vector<PackagePart>& parts) {
    PartNamed(parts, "xl/workbook.xml") = "<workbook><sheets><sheet name=";
  });
  WriteEdited("binary-sheet.xlsx", [](std::vector<PackagePart>& parts) {
    PartNamed(parts, "xl/worksheets/sheet1.xml") = std::string("\0\1\2<sheetData", 14);
  });
  WriteEdited("outside.xlsx", [](std::vector<PackagePart>& parts) {
    std::string& relationships = PartNamed(parts, "xl/_rels/workbook.xml.rels");
    for (size_t at; (at = relationships.find("/xl/worksheets/")) != std::string::npos;) {
      relationships.replace(at, 15, "../../../../etc/");
    }
  });
  WriteEdited("deep.xlsx", [](std::vector<PackagePart>& parts) {
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<c>";
    PartNamed(parts, "xl/worksheets/sheet1.xml") =
        "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<sheetData><row r=\"1\">" +
        deep;
  });
  // An entry that claims to expand to 4 GB: its size in the local and the central header.
  {
    std::string zip = WriteZip(ReadZip(example));
    for (std::string signature : {std::string("PK\3\4"), std::string("PK\1\2")}) {
      size_t at = zip.find(signature);
      size_t field = at + (signature[2] == '\3' ? 22 : 24);
      zip.replace(field, 4, "\xF0\xFF\xFF\xFF");
    }
    Write("huge.xlsx", zip);
  }

  std::vector<std::string> files = {
      "cut.xlsx",     "text.xlsx",   "empty.xlsx",       "empty.xls",    "garbage.xls",
      "zip.xls",      "folder.xlsx", "no-workbook.xlsx", "not-xml.xlsx", "binary-sheet.xlsx",
      "outside.xlsx", "deep.xlsx",   "huge.xlsx",        "missing.xlsx"};
  for (const std::string& name : files) {
    fs::path file = dir / name;
    std::string mention = "\"" + file.string() + "\"";
    ExpectRefused("show " + Quoted(file.string()), {2}, mention);
    ExpectRefused("convert " + Quoted(file.string()), {2}, mention);
    for (const ToolRun& run : kToolRuns) ExpectRefused(CommandLineOf(run, file), {2}, mention);
  }
}

TEST_F(BadFiles, HostileFilesThatCanBeReadAreReadAndWrittenAsValidXml) {
  Write("hostile.csv", std::string("a\0b,\xFF\xFE\xC3(,\x1B[2J\n\"open,1\n", 22));
  // Elements nested far deeper than any stack of calls could follow, inside a cell and in an
  // element the model does not know, which a fresh write of the sheet keeps.
  WriteEdited("deep.xlsx", [](std::vector<PackagePart>& parts) {
    std::string& sheet = PartNamed(parts, "xl/worksheets/sheet1.xml");
    std::string cells, elements;
    for (int i = 0; i < 200000; ++i) cells += "<c r=\"A1\">", elements += "<x>";
    for (int i = 0; i < 200000; ++i) cells += "</c>", elements += "</x>";
    sheet.insert(sheet.find("</sheetData>"), "<row r=\"200\">" + cells + "</row>");
    sheet.insert(sheet.find("</worksheet>"), "<extLst>" + elements + "</extLst>");
  });
  auto before = Contents();
  fs::path out = dir / "out.xlsx";
  for (const std::string name : {"hostile.csv", "deep.xlsx"}) {
    fs::path file = dir / name;
    for (const ToolRun& run : kToolRuns) {
      Outcome outcome = Tavrin(CommandLineOf(run, file));
      EXPECT_LT(outcome.status, 3) << run.command << "\n" << outcome.err;
      EXPECT_FALSE(SanitizerReported(outcome)) << run.command << "\n" << outcome.err;
    }
    EXPECT_EQ(Tavrin("show " + file.string()).status, 0) << name;
    ASSERT_EQ(Tavrin("convert " + file.string() + " -o " + out.string()).status, 0) << name;
    ASSERT_EQ(Tavrin(CommandLineOf(kToolRuns.front(), file) + " -o " + out.string()).status, 0)
        << name << ": a sheet written afresh";
    for (const PackagePart& part : ReadZip(ReadFileBytes(out))) {
      EXPECT_EQ(part.bytes.find_first_of(std::string("\0\1\2\3\4\5\6\7\10\13\14\16\17\33", 14)),
                std::string::npos)
          << name << ": " << part.name;
    }
    fs::remove(out);
  }
  EXPECT_TRUE(Contents() == before);
}

TEST_F(BadFiles, RunningOutOfMemoryEndsWithAMessageNotACoreDump) {
#ifdef TAVRIN_SANITIZED
  GTEST_SKIP() << "the address sanitizer takes more address space than the limit leaves";
#endif
  // 4 M cells, within what is read from one file, and more than 300 MB of memory holds.
  std::string row = "<row>";
  for (int c = 0; c < 256; ++c) row += "<c><v>1</v></c>";
  row += "</row>";
  std::string rows;
  for (int r = 0; r < 16000; ++r) rows += row;
  WriteEdited("large.xlsx", [&](std::vector<PackagePart>& parts) {
    std::string& sheet = PartNamed(parts, "xl/worksheets/sheet1.xml");
    size_t open = sheet.find("<sheetData");
    size_t close = sheet.find("</sheetData>");
    sheet.replace(open, close - open, "<sheetData>" + rows);
  });
  std::string script = "ulimit -v 300000; exec " + std::string(TAVRIN_BINARY) + " convert " +
                       Quoted((dir / "large.xlsx").string()) + " -o " +
                       Quoted((dir / "out.csv").string()) + " 2>&1";
  FILE* shell = popen(("timeout 60 sh -c " + Quoted(script)).c_str(), "r");
  std::string said;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, shell) != nullptr) said += buffer;
  int status = pclose(shell);
  EXPECT_EQ(WEXITSTATUS(status), 2) << said;
  EXPECT_EQ(said,
            "tavrin: out of memory: the workbook needs more memory than this machine gives Tavrin; "
            "nothing was written\n");
  EXPECT_FALSE(fs::exists(dir / "out.csv"));
}

TEST_F(BadFiles, BadAddressesInEveryRangeOptionEndWithAMessage) {
  fs::path book = dir / "sales.xlsx";
  Write("sales.xlsx", example);
  const std::vector<std::string> addresses = {
      "ZZZ1",      "A0",         "A1:",      "'",
      "Sheet9!A1", "A1:IV65537", "A1:B2:C3", std::string(5000, 'Q') + "1"};
  for (const std::string& address : addresses) {
    for (const ToolRun& run : kToolRuns) {
      for (const auto& [option, value] : run.options) {
        ExpectRefused(CommandLineOf(run, book, option, address), {1, 2});
      }
      ExpectRefused(CommandLineOf(run, book, "--select", address), {2}, "--select");
    }
    ExpectRefused("show " + book.string() + " --range " + Quoted(address), {2}, "--range");
  }
}

}  // namespace
}  // namespace tavrin
