#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "io/atomic_file.h"
#include "io/workbook_file.h"
#include "io/zip_archive.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

// A folder of its own for each test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("tavrin-io-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }
  // The names of the files in the folder, sorted.
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// A cell's value, or empty.
inline Variant ValueAt(const Sheet& sheet, const std::string& address) {
  Area at = ParseAddress(address)->areas.front();
  const Cell* cell = sheet.Store().Find(at.row, at.column);
  return cell ? cell->value : Variant();
}

// A cell's formula text, or "".
inline std::string FormulaAt(const Sheet& sheet, const std::string& address) {
  Area at = ParseAddress(address)->areas.front();
  const Cell* cell = sheet.Store().Find(at.row, at.column);
  return cell && cell->formula ? FormulaText(*cell->formula, at.row, at.column) : "";
}

inline uint32_t StyleAt(const Sheet& sheet, const std::string& address) {
  Area at = ParseAddress(address)->areas.front();
  const Cell* cell = sheet.Store().Find(at.row, at.column);
  return cell ? cell->style : 0;
}

// A part of a package file, "" when it has none.
inline std::string PartOf(const std::filesystem::path& file, const std::string& name) {
  for (PackagePart& part : ReadZip(ReadFileBytes(file))) {
    if (part.name == name) return std::move(part.bytes);
  }
  return "";
}

// A copy of a package file at copy with texts of its parts replaced: by part name, each text
// and its replacement. A text that is not there fails the test.
using PartEdits = std::map<std::string, std::vector<std::pair<std::string, std::string>>>;
inline void WritePatchedCopy(const std::filesystem::path& file, const std::filesystem::path& copy,
                             const PartEdits& edits) {
  std::vector<PackagePart> parts = ReadZip(ReadFileBytes(file));
  for (PackagePart& part : parts) {
    auto found = edits.find(part.name);
    if (found == edits.end()) continue;
    for (const auto& [from, to] : found->second) {
      size_t at = part.bytes.find(from);
      EXPECT_NE(at, std::string::npos) << part.name << ": " << from;
      if (at != std::string::npos) part.bytes.replace(at, from.size(), to);
    }
  }
  WriteFileAtomically(copy, WriteZip(parts));
}

// What a shell command prints on its standard output.
inline std::string Run(const std::string& command) {
  std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
  std::string output;
  char buffer[4096];
  while (pipe && fgets(buffer, sizeof buffer, pipe.get())) output += buffer;
  return output;
}

// What openpyxl, an independent reader, sees in a file (io/read_with_openpyxl.py), showing the
// cells at the addresses ("A1 F2"); empty when it cannot run.
inline std::string ReadWithOpenpyxl(const std::filesystem::path& file,
                                    const std::string& addresses) {
  if (!std::filesystem::exists("/usr/bin/python3") ||
      Run("/usr/bin/python3 -c 'import openpyxl' 2>&1 && echo ok") != "ok\n") {
    return "";
  }
  return Run("/usr/bin/python3 io/read_with_openpyxl.py '" + file.string() + "' " + addresses +
             " 2>&1");
}

// The message of the FileError the call throws, or "" when it throws none.
template <class Call>
std::string FileErrorOf(Call&& call) {
  try {
    call();
  } catch (const FileError& error) {
    return error.what();
  }
  return "";
}

}  // namespace tavrin
