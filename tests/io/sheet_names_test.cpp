#include "io/sheet_names.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

// The message of opening a copy of the LibreOffice workbook whose second sheet, 交叉表, is
// renamed.
std::string OpenRenamed(const TempFolder& folder, const std::string& name) {
  WritePatchedCopy("data/sales-libreoffice.xlsx", folder / "named.xlsx",
                   {{"xl/workbook.xml", {{"name=\"交叉表\"", "name=\"" + name + "\""}}}});
  Spreadsheet app;
  std::string message = FileErrorOf([&] { OpenWorkbook(app, folder / "named.xlsx"); });
  EXPECT_EQ(app.WorkbookCount(), message.empty() ? 1 : 0) << "a failed open adds no workbook";
  return message;
}

TEST(SheetNamesTest, AWorkbookWithASheetNameTheHostRefusesIsAFileError) {
  TempFolder folder;
  std::string at = "Cannot open \"" + (folder / "named.xlsx").string() + "\": ";
  EXPECT_EQ(OpenRenamed(folder, "a:b"),
            at + "the sheet name \"a:b\" holds \":\", which no sheet name can hold.");
  EXPECT_EQ(OpenRenamed(folder, "[x]"),
            at + "the sheet name \"[x]\" holds \"[\", which no sheet name can hold.");
  EXPECT_EQ(OpenRenamed(folder, std::string(32, 'n')),
            at + "the sheet name \"" + std::string(32, 'n') + "\" is longer than 31 characters.");
  EXPECT_EQ(OpenRenamed(folder, ""), at + "sheet 2 has no name.");
  EXPECT_EQ(OpenRenamed(folder, "销售"),
            at + "two sheets are named \"销售\" and \"销售\" (letter case is ignored).");
  EXPECT_EQ(OpenRenamed(folder, std::string(31, 'n')), "") << "31 characters are allowed";
  EXPECT_EQ(OpenRenamed(folder, "十一个字的名字也可以的"), "") << "characters, not bytes";
}

TEST(SheetNamesTest, RulesAsTheHostHasThem) {
  EXPECT_NO_THROW(CheckSheetNames({"Sales", "交叉表", std::string(31, 'x'), "a'b (2)"}));
  EXPECT_THROW(CheckSheetNames({"Sales", "sales"}), FormatError);
  EXPECT_THROW(CheckSheetNames({"Ärger", "äRGER"}), FormatError) << "case folded beyond ASCII";
  EXPECT_THROW(CheckSheetNames({"a/b"}), FormatError);
  EXPECT_THROW(CheckSheetNames({"a\\b"}), FormatError);
  EXPECT_THROW(CheckSheetNames({"a?"}), FormatError);
  EXPECT_THROW(CheckSheetNames({"a*"}), FormatError);
  // A character beyond U+FFFF counts two, as the host counts.
  std::string emoji = "\U0001F600";
  std::string sixteen;
  for (int i = 0; i < 16; ++i) sixteen += emoji;
  EXPECT_THROW(CheckSheetNames({sixteen}), FormatError);
  EXPECT_NO_THROW(CheckSheetNames({sixteen.substr(emoji.size())}));
}

TEST(SheetNamesTest, ACsvFileNamesItsSheetAfterItsStemMadeFit) {
  EXPECT_EQ(SheetNameFrom("sales"), "sales");
  EXPECT_EQ(SheetNameFrom("q1:q2 [draft]"), "q1_q2 _draft_");
  EXPECT_EQ(SheetNameFrom(std::string(40, 'x')), std::string(31, 'x'));
  EXPECT_EQ(SheetNameFrom("bad\x01\xFFname"), "bad\uFFFDname");
  EXPECT_EQ(SheetNameFrom(""), "Sheet1");
  EXPECT_EQ(SheetNameFrom("\x02"), "Sheet1");
}

}  // namespace
}  // namespace tavrin
