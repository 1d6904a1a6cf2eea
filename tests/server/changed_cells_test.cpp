#include "server/changed_cells.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "spreadsheet/book.h"
#include "spreadsheet/book_copy.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

using Areas = std::vector<std::string>;

// A workbook of one sheet with a little list, and what a run changed in it.
class ChangedCellsTest : public ::testing::Test {
 protected:
  ChangedCellsTest() {
    Set("A1", "Region");
    Set("A2", "North");
    Set("B2", 12);
    Set("C2", "=B2*2");
  }

  void Set(const char* address, const Variant& value) { sheet.Range(address).SetValue(value); }
  Areas ChangedSince(const BookCopy& copy) { return ChangedAreas(CompareWithCopy(copy, book)); }

  Spreadsheet app;
  Book& book = app.AddWorkbook("Book1");
  Sheet& sheet = book.AddSheet("Sales");
};

// Only what now reads differently is marked, though every written column is looked at again.
TEST_F(ChangedCellsTest, MarksTheCellsWhoseFormulaOrValueDiffers) {
  BookCopy copy(book);
  EXPECT_EQ(ChangedSince(copy), Areas{});
  Set("A2", "North");  // the same value again
  Set("C2", "=B2*2");  // the same formula again
  Set("B2", 13);
  Set("D5", 1);
  Set("IV65536", 1);
  sheet.Range("A1").ClearContents();
  EXPECT_EQ(ChangedSince(copy), (Areas{"Sales!A1", "Sales!B2", "Sales!D5", "Sales!IV65536"}));
}

// A formula replaced by its value, or a value by a formula giving it, reads the same but is
// changed, as a paste of values is.
TEST_F(ChangedCellsTest, AFormulaBecomingItsValueOrTheOtherWayIsAChange) {
  BookCopy copy(book);
  Set("C2", 24);
  Set("B2", "=6*2");
  EXPECT_EQ(ChangedSince(copy), (Areas{"Sales!B2:C2"}));
}

TEST_F(ChangedCellsTest, RowsInsertedMarkEveryCellThatMovedAndWhatTookItsPlace) {
  BookCopy copy(book);
  sheet.Rows(2, 2).Insert(xlShiftDown);
  // Row 2 is empty now and row 3 holds what row 2 held; the formula follows its cell.
  EXPECT_EQ(ChangedSince(copy), (Areas{"Sales!A2:C3"}));
  EXPECT_EQ(sheet.Range("C3").Formula(), "=B3*2");
}

// A sheet the run added is marked whole, its cells copied with their stamps.
TEST_F(ChangedCellsTest, MarksEveryCellOfASheetTheRunAdded) {
  BookCopy copy(book);
  book.CopySheet(sheet, sheet);
  ASSERT_EQ(book.SheetCount(), 2);
  EXPECT_EQ(book.GetSheet(2).Name(), "Sales (2)");
  EXPECT_EQ(SheetBefore(copy, "Sales (2)"), nullptr);
  EXPECT_EQ(ChangedSince(copy), (Areas{"'Sales (2)'!A1", "'Sales (2)'!A2:C2"}));
}

// The page reads these areas back as addresses: a name that reads as a cell or starts with a
// digit is quoted, or "1Q!B2" would name no sheet.
TEST(ChangedAreasTest, NameEachSheetAsAReferenceWritesIt) {
  ChangedCells cells = {{"Sales", {{2, 2}}},
                        {"1Q", {{2, 2}, {2, 3}, {3, 2}, {3, 3}}},
                        {"A1", {{1, 1}}},
                        {"It's", {{5, 4}}}};
  EXPECT_EQ(ChangedAreas(cells), (Areas{"'1Q'!B2:C3", "'A1'!A1", "'It''s'!D5", "Sales!B2"}));
}

}  // namespace
}  // namespace tavrin
