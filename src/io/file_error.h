#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace tavrin {

// A workbook file that cannot be read or written: one English sentence naming the file, such as
// `Cannot open "sales.xlsx": the workbook is encrypted.`
class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;

  static FileError Open(const std::filesystem::path& path, const std::string& reason) {
    return FileError("Cannot open \"" + path.string() + "\": " + reason + ".");
  }
  static FileError Save(const std::filesystem::path& path, const std::string& reason) {
    return FileError("Cannot save \"" + path.string() + "\": " + reason + ".");
  }
};

// A failure inside one file format's reader, reported by the caller with the file's name.
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tavrin
