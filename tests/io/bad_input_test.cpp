#include <fstream>

#include "io/atomic_file.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(BadInputTest, EachFailureHasOneClearMessageAndAddsNoWorkbook) {
  TempFolder folder;
  WriteFile(folder / "notes.xlsx", "name,amount\nrice,3\n");
  std::string original = ReadFileBytes("data/sales-libreoffice.xlsx");
  WriteFile(folder / "cut.xlsx", std::string_view(original).substr(0, original.size() / 2));
  std::string encrypted = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(504, '\0');
  for (char c : std::string_view("EncryptionInfo")) encrypted += {c, '\0'};
  WriteFile(folder / "secret.xlsx", encrypted);
  WriteFile(folder / "old.XLSX", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + std::string(504, '\0'));
  WriteFile(folder / "notes.xls", "name,amount\n");

  Spreadsheet app;
  auto open = [&](const std::filesystem::path& path) {
    return FileErrorOf([&] { OpenWorkbook(app, path); });
  };
  std::string at = folder.Path().string() + "/";
  EXPECT_EQ(open("data/missing.xlsx"), "Cannot open \"data/missing.xlsx\": no such file.");
  EXPECT_EQ(open("data"),
            "Cannot open \"data\": unknown file type (.xlsx, .xlsm, .xls or .csv expected).");
  EXPECT_EQ(
      open("data/sales.ods"),
      "Cannot open \"data/sales.ods\": unknown file type (.xlsx, .xlsm, .xls or .csv expected).");
  EXPECT_EQ(open(folder / "notes.xlsx"),
            "Cannot open \"" + at + "notes.xlsx\": not a workbook (it is no zip archive).");
  EXPECT_EQ(open(folder / "cut.xlsx"),
            "Cannot open \"" + at + "cut.xlsx\": the archive is damaged (Not a zip archive).");
  EXPECT_EQ(open(folder / "secret.xlsx"),
            "Cannot open \"" + at +
                "secret.xlsx\": the workbook is encrypted (protected by a password).");
  EXPECT_EQ(open(folder / "old.XLSX"),
            "Cannot open \"" + at + "old.XLSX\": it is an .xls workbook, not an .xlsx one.");
  EXPECT_EQ(open(folder / "notes.xls"),
            "Cannot open \"" + at + "notes.xls\": not an .xls workbook.");
  EXPECT_EQ(app.WorkbookCount(), 0);

  OpenWorkbook(app, "data/sales-libreoffice.xlsx");
  EXPECT_EQ(
      open("data/sales-libreoffice.xlsx"),
      "Cannot open \"data/sales-libreoffice.xlsx\": a workbook of that name is open already.");
  EXPECT_EQ(app.WorkbookCount(), 1);
  std::filesystem::copy_file("data/sales-libreoffice.xlsx", folder / "SALES-LibreOffice.xlsx");
  EXPECT_EQ(
      open(folder / "SALES-LibreOffice.xlsx"),
      "Cannot open \"" + at + "SALES-LibreOffice.xlsx\": a workbook of that name is open already.")
      << "names differing in letter case alone are one";
  std::filesystem::copy_file("data/sales-libreoffice.xlsx", folder / "macros.xlsm");
  EXPECT_EQ(open(folder / "macros.xlsm"), "");
  EXPECT_EQ(app.WorkbookCount(), 2);
}

TEST(BadInputTest, SavingIsAtomicAndAFailedSaveLeavesTheTargetAlone) {
  TempFolder folder;
  Spreadsheet app;
  Book& book = OpenWorkbook(app, "data/sales-libreoffice.xlsx");
  WriteFile(folder / "out.xlsx", "old contents");
  WriteFile(folder / "out.pdf", "old contents");

  EXPECT_EQ(FileErrorOf([&] { SaveWorkbook(book, folder / "out.pdf"); }),
            "Cannot save \"" + (folder / "out.pdf").string() +
                "\": unknown file type (.xlsx or .csv expected).");
  Book& empty = app.AddWorkbook("empty");
  EXPECT_EQ(FileErrorOf([&] { SaveWorkbook(empty, folder / "out.xlsx"); }),
            "Cannot save \"" + (folder / "out.xlsx").string() + "\": the workbook has no sheets.");
  EXPECT_EQ(
      FileErrorOf([&] { SaveWorkbook(book, folder / "no" / "out.xlsx"); }),
      "Cannot save \"" + (folder / "no" / "out.xlsx").string() + "\": No such file or directory.");
  EXPECT_EQ(ReadFileBytes(folder / "out.xlsx"), "old contents");
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"out.pdf", "out.xlsx"}));

  SaveWorkbook(book, folder / "out.xlsx");  // replaces the old file whole
  EXPECT_EQ(folder.Files(), (std::vector<std::string>{"out.pdf", "out.xlsx"}));
  Spreadsheet again;
  EXPECT_EQ(OpenWorkbook(again, folder / "out.xlsx").SheetCount(), 2);
}

}  // namespace
}  // namespace tavrin
