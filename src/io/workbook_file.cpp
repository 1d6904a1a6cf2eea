#include "io/workbook_file.h"

#include <algorithm>
#include <cctype>

#include "io/atomic_file.h"
#include "io/csv_file.h"
#include "io/xls_reader.h"
#include "io/xlsx_reader.h"
#include "io/xlsx_writer.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

constexpr std::string_view kCompoundFileSignature = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";

std::string ExtensionOf(const std::filesystem::path& path) {
  std::string extension = path.extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension;
}

// An .xlsx file must be a zip package. An encrypted one is a compound file holding the
// encryption description and the encrypted package.
void CheckPackage(std::string_view bytes) {
  if (bytes.starts_with(kCompoundFileSignature)) {
    static const std::string kEncryptionStream = [] {
      std::string name;
      for (char c : std::string_view("EncryptionInfo")) name += {c, '\0'};
      return name;
    }();
    if (bytes.find(kEncryptionStream) != std::string_view::npos) {
      throw FormatError("the workbook is encrypted (protected by a password)");
    }
    throw FormatError("it is an .xls workbook, not an .xlsx one");
  }
  if (!bytes.starts_with("PK")) throw FormatError("not a workbook (it is no zip archive)");
}

// The sheet name a .csv file gives: its stem, without the characters a sheet name cannot hold,
// at most 31 characters.
std::string SheetNameOf(const std::filesystem::path& path) {
  std::string name;
  int characters = 0;
  for (char c : path.stem().string()) {
    bool starts = (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (starts && ++characters > 31) break;
    name += std::string_view(":\\/?*[]").find(c) == std::string_view::npos ? c : '_';
  }
  return name.empty() ? "Sheet1" : name;
}

}  // namespace

Book& OpenWorkbook(Spreadsheet& application, const std::filesystem::path& path) {
  std::string extension = ExtensionOf(path);
  bool xlsx = extension == ".xlsx" || extension == ".xlsm";
  if (!xlsx && extension != ".xls" && extension != ".csv") {
    throw FileError::Open(path, "unknown file type (.xlsx, .xlsm, .xls or .csv expected)");
  }
  std::string bytes = ReadFileBytes(path);
  std::string name = path.filename().string();
  for (int i = 1; i <= application.WorkbookCount(); ++i) {
    if (EqualsIgnoringCase(application.GetWorkbook(i).Name(), name)) {
      throw FileError::Open(path, "a workbook of that name is open already");
    }
  }
  try {
    Book& book = xlsx                  ? (CheckPackage(bytes), ReadXlsx(application, name, bytes))
                 : extension == ".xls" ? ReadXls(application, name, path)
                                       : ReadCsv(application, name, SheetNameOf(path), bytes);
    book.Activate();
    return book;
  } catch (const FormatError& error) {
    throw FileError::Open(path, error.what());
  }
}

void SaveWorkbook(Book& book, const std::filesystem::path& path) {
  std::string extension = ExtensionOf(path);
  if (extension != ".xlsx" && extension != ".csv") {
    throw FileError::Save(path, "unknown file type (.xlsx or .csv expected)");
  }
  std::string bytes;
  try {
    if (book.SheetCount() == 0) throw FormatError("the workbook has no sheets");
    bytes = extension == ".csv" ? WriteCsv(book.GetActiveSheet()) : WriteXlsx(book);
  } catch (const FormatError& error) {
    throw FileError::Save(path, error.what());
  }
  WriteFileAtomically(path, bytes);
}

}  // namespace tavrin
