#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "io/workbook_file.h"
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
  return cell && cell->formula ? cell->formula->text : "";
}

inline uint32_t StyleAt(const Sheet& sheet, const std::string& address) {
  Area at = ParseAddress(address)->areas.front();
  const Cell* cell = sheet.Store().Find(at.row, at.column);
  return cell ? cell->style : 0;
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
