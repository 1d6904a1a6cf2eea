#include "sheet_fixture.h"

namespace tavrin {
namespace {

// The text count times over.
std::string Repeat(const std::string& text, int count) {
  std::string repeated;
  for (int i = 0; i < count; ++i) repeated += text;
  return repeated;
}

TEST_F(SheetTest, SheetNamesHoldThirtyOneCharactersWhateverTheirBytes) {
  EXPECT_EQ(book.AddSheet(Repeat("销", 31)).Name(), Repeat("销", 31));
  EXPECT_EQ(ErrorOf([&] { book.AddSheet(Repeat("售", 32)); }), 1004);
  EXPECT_EQ(ErrorOf([&] { book.AddSheet(Repeat("x", 32)); }), 1004);
  // A character beyond U+FFFF counts two, as the host counts it.
  EXPECT_EQ(book.AddSheet(Repeat("😀", 15) + "a").Name(), Repeat("😀", 15) + "a");
  EXPECT_EQ(ErrorOf([&] { book.AddSheet(Repeat("😀", 16)); }), 1004);
}

TEST_F(SheetTest, CopiesOfALongNameAreCutBeforeTheNumberAndStayValid) {
  Sheet& english = book.AddSheet("Quarterly sales by region 2024");  // 30 characters
  english.Copy(english);
  EXPECT_EQ(book.ActiveSheet().Name(), "Quarterly sales by region 2 (2)");
  english.Copy(english);
  EXPECT_EQ(book.ActiveSheet().Name(), "Quarterly sales by region 2 (3)");
  // A copy of a copy counts on from the cut name.
  book.GetSheet("Quarterly sales by region 2 (2)").Copy(english);
  EXPECT_EQ(book.ActiveSheet().Name(), "Quarterly sales by region 2 (4)");

  // Chinese names are cut between characters, never inside one.
  Sheet& chinese = book.AddSheet(Repeat("华东区销售明细", 4));  // 28 characters, 84 bytes
  for (int n = 2; n <= 10; ++n) chinese.Copy(chinese);
  EXPECT_EQ(book.ActiveSheet().Name(), Repeat("华东区销售明细", 3) + "华东区销售 (10)");
  EXPECT_NE(book.FindSheet(Repeat("华东区销售明细", 3) + "华东区销售明 (9)"), nullptr);

  // Every name given reads back: another workbook takes each of them.
  Book& other = app.AddWorkbook("Other");
  for (int i = 1; i <= book.SheetCount(); ++i) {
    EXPECT_EQ(ErrorOf([&] { other.AddSheet(book.GetSheet(i).Name()); }), 0)
        << book.GetSheet(i).Name();
  }
}

TEST_F(SheetTest, CopiesCountOnFromANumberInBracketsOnly) {
  book.AddSheet("Last");
  sheet.Copy(sheet);
  EXPECT_EQ(book.GetSheet(2).Name(), "Sheet1 (2)") << "right after the sheet copied";
  EXPECT_EQ(book.GetSheet(3).Name(), "Last");
  const std::pair<const char*, const char*> copies[] = {
      {"A (1)", "A (2)"},       {"B (9)", "B (2)"},   {"C (10)", "C (2)"},
      {"D (ab)", "D (ab) (2)"}, {"E ()", "E () (2)"}, {"Plan (12", "Plan (12 (2)"},
  };
  for (auto [name, copy] : copies) {
    Sheet& added = book.AddSheet(name);
    added.Copy(added);
    EXPECT_EQ(book.ActiveSheet().Name(), copy) << name;
  }
}

TEST_F(SheetTest, ASheetNameNeedsACharacterAndNoneOfTheForbiddenOnes) {
  for (const char* name : {"", "a:b", "a/b", "a?b", "a*b", "[a]", "a\\b", "sheet1"}) {
    EXPECT_EQ(ErrorOf([&] { book.AddSheet(name); }), 1004) << name;
  }
  book.AddSheet(Repeat("\uFFFF", 31));  // the last character counted one
  EXPECT_EQ(book.SheetCount(), 2);
  EXPECT_EQ(ErrorOf([&] { book.GetSheet(0); }), 9);
  EXPECT_EQ(ErrorOf([&] { book.GetSheet(3); }), 9);
  EXPECT_EQ(ErrorOf([&] { app.AddWorkbook("Empty").ActiveSheet(); }), 91);
}

}  // namespace
}  // namespace tavrin
