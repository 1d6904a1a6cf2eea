#include <random>
#include <set>
#include <string>
#include <vector>

#include "sheet_fixture.h"

namespace tavrin {
namespace {

class FormulaMovesTest : public SheetTest {
 protected:
  Sheet& other = book.AddSheet("Other");

  std::string FormulaOf(Sheet& on, const char* address) { return on.Range(address).Formula(); }
};

TEST_F(FormulaMovesTest, InsertedRowsMoveEveryReferenceThatPointsBelowThem) {
  FillColumn(1, 1, 20);
  At("B1").SetFormula("=SUM(A2:A5)");
  At("B10").SetFormula("=A3*2");
  At("C1").SetFormula("=$A$4+A1");
  At("D1").SetFormula("=SUM(A6:A8)");
  other.Range("A1").SetFormula("=Sheet1!A5+'Sheet1'!$A$2");
  other.Range("A2").SetFormula("=A9");

  sheet.Rows(3, 4).Insert();
  EXPECT_EQ(FormulaOf(sheet, "B1"), "=SUM(A2:A7)") << "rows inserted inside the range";
  EXPECT_EQ(FormulaOf(sheet, "B12"), "=A5*2") << "the cell moved, and so did its target";
  EXPECT_EQ(sheet.Range("B12").FormulaR1C1(), "=R[-7]C[-1]*2");
  EXPECT_TRUE(Get("B10").IsEmpty());
  EXPECT_EQ(FormulaOf(sheet, "C1"), "=$A$6+A1");
  EXPECT_EQ(FormulaOf(sheet, "D1"), "=SUM(A8:A10)");
  EXPECT_EQ(FormulaOf(other, "A1"), "=Sheet1!A7+Sheet1!$A$2");
  EXPECT_EQ(FormulaOf(other, "A2"), "=A9") << "another sheet's own references stay";
  EXPECT_EQ(Get("B12"), Variant(6.0));
  EXPECT_EQ(Get("D1"), Variant(6.0 + 7 + 8));
}

TEST_F(FormulaMovesTest, DeletedRowsShrinkRangesAndLeaveRefErrors) {
  FillColumn(1, 1, 20);
  At("B1").SetFormula("=SUM(A2:A10)");
  At("C1").SetFormula("=A5");
  At("D1").SetFormula("=SUM(A4:A6)");
  At("B20").SetFormula("=A19+$A$15");
  other.Range("A1").SetFormula("=Sheet1!A12");

  sheet.Rows("4:6").Delete(xlShiftUp);
  EXPECT_EQ(FormulaOf(sheet, "B1"), "=SUM(A2:A7)");
  EXPECT_EQ(FormulaOf(sheet, "C1"), "=#REF!");
  EXPECT_EQ(FormulaOf(sheet, "D1"), "=SUM(#REF!)");
  EXPECT_EQ(FormulaOf(sheet, "B17"), "=A16+$A$12");
  EXPECT_EQ(FormulaOf(other, "A1"), "=Sheet1!A9");
  EXPECT_EQ(Get("B1"), Variant(2.0 + 3 + 7 + 8 + 9 + 10));
  EXPECT_EQ(Get("C1"), Variant(ErrorValue::Ref));
}

TEST_F(FormulaMovesTest, TheFirstRowsMovedTheLastColumnAndWholeColumnsAsTheCellsGo) {
  FillColumn(1, 1, 20);
  At("B1").SetFormula("=A3");
  At("B2").SetFormula("=SUM(A:A)");
  At("B3").SetFormula("=A1");
  At("B7").SetFormula("=A2");
  At("IV1").SetFormula("=A5");
  sheet.Rows(3, 4).Insert();
  EXPECT_EQ(FormulaOf(sheet, "B1"), "=A5") << "the first row moved";
  EXPECT_EQ(FormulaOf(sheet, "B2"), "=SUM(A:A)");
  EXPECT_EQ(FormulaOf(sheet, "B5"), "=A1") << "the first cell moved, its target stayed";
  EXPECT_EQ(FormulaOf(sheet, "IV1"), "=A7");
  sheet.Rows("3:4").Delete(xlShiftUp);
  sheet.Rows("4:6").Delete(xlShiftUp);
  EXPECT_EQ(FormulaOf(sheet, "B4"), "=A2") << "the first cell below the deleted rows";
  EXPECT_EQ(Get("B4"), Variant(2));
}

TEST_F(FormulaMovesTest, APageSumKeepsItsRowsWhenARowGoesInAboveIt) {
  FillColumn(2, 3, 49);
  At("B50").SetFormulaR1C1("=SUM(R[-47]C:R[-1]C)");
  sheet.Rows(10, 10).Insert();
  EXPECT_EQ(sheet.Range("B51").FormulaR1C1(), "=SUM(R[-48]C:R[-1]C)");
  sheet.Rows(60, 60).Insert();
  EXPECT_EQ(sheet.Range("B51").FormulaR1C1(), "=SUM(R[-48]C:R[-1]C)") << "below it: no change";
}

TEST_F(FormulaMovesTest, TheStoreKnowsItsFormulaRowsThroughEveryKindOfWrite) {
  auto scanned = [&] {
    std::set<int> rows;
    for (int r = 1; r <= kLastRow; ++r) {
      const Cell* cell = sheet.Store().Find(r, 2);
      if (cell != nullptr && cell->formula) rows.insert(r);
    }
    return rows;
  };
  auto known = [&] {
    std::set<int> rows;
    sheet.Store().Column(2).ForEachFormula(1, kLastRow,
                                           [&](int row, const Cell&) { rows.insert(row); });
    EXPECT_EQ(sheet.Store().Column(2).FormulaCount(), static_cast<int>(rows.size()));
    return rows;
  };
  auto expectKnown = [&](const char* step) { EXPECT_EQ(known(), scanned()) << step; };
  for (int r : {2, 5, 9, 12, 65530}) sheet.Cells(r, 2).SetFormula("=A1");
  expectKnown("written");
  Set("B9", 4);
  At("B5").ClearContents();
  expectKnown("overwritten and cleared");
  sheet.Store().Clear(Area{1, 2, 20, 1}, ClearPart::Formats);
  expectKnown("formats cleared");
  sheet.Rows(4, 6).Insert();
  expectKnown("rows inserted");
  sheet.Rows("1:2").Delete(xlShiftUp);
  sheet.Rows("10:11").Delete(xlShiftUp);
  expectKnown("rows deleted");
  sheet.Range("B11").Cut(sheet.Range("B40"));
  sheet.Range("B40").Copy(sheet.Range("B41"));
  expectKnown("cut and copied");
  EXPECT_EQ(known(), (std::set<int>{40, 41, 65529}));
  sheet.Rows(1, 7).Insert();
  expectKnown("a formula moved onto the last row");
  EXPECT_EQ(known(), (std::set<int>{47, 48, 65536}));
  EXPECT_THROW(sheet.Rows(1, 1).Insert(), HostError) << "the host pushes nothing off the sheet";
  sheet.Store().InsertRows(1, 1);
  EXPECT_EQ(known(), (std::set<int>{48, 49})) << "the store drops what it pushes off";
}

// Formulas near and far, each beside its own id: relative cells and ranges in B (a column whose
// formulas reach only rows near them), absolute rows in D and another sheet in F (columns whose
// formulas reach anywhere). Rows inserted anywhere leave every result as it was, and deleting
// them again gives every formula its text back. Only the formulas within reach of a move are
// looked at, so a formula the reach missed would show another result.
TEST_F(FormulaMovesTest, RowsInsertedAnywhereAndDeletedAgainLeaveEveryFormulaAsItWas) {
  std::mt19937 draw(7);
  auto row = [&](int most) { return 1 + static_cast<int>(draw() % most); };
  for (int r = 1; r <= 300; ++r) sheet.Cells(r, 1).SetValue(Variant(1000 + r));
  for (int id = 1; id <= 90; ++id) {
    int at = row(300), target = row(300), second = row(300);
    std::string formula;
    switch (id % 4) {
      case 0:
        formula = "=A" + std::to_string(target);
        break;
      case 1:
        formula = "=$A$" + std::to_string(target) + "+A" + std::to_string(second);
        break;
      case 2:
        formula = "=SUM(A" + std::to_string(std::min(target, second)) + ":A" +
                  std::to_string(std::max(target, second)) + ")";
        break;
      default:
        formula = "=Other!A1+A" + std::to_string(target);
    }
    int column = id % 4 == 1 ? 4 : id % 4 == 3 ? 6 : 2;
    sheet.Cells(at, column).SetFormula(formula);
    sheet.Cells(at, column + 1).SetValue(Variant(id));
  }
  other.Range("A1").SetValue(Variant(5));
  auto snapshot = [&] {
    std::map<double, std::pair<std::string, Variant>> byId;
    for (int c : {2, 4, 6}) {
      sheet.Store().Column(c).ForEachFormula(1, kLastRow, [&](int r, const Cell&) {
        byId[sheet.Cells(r, c + 1).Value().AsNumber()] = {sheet.Cells(r, c).FormulaR1C1(),
                                                          sheet.Cells(r, c).Value()};
      });
    }
    return byId;
  };
  auto before = snapshot();
  for (int step = 0; step < 40; ++step) {
    int at = row(320), count = row(5);
    sheet.Rows(at, at + count - 1).Insert();
    for (const auto& [id, was] : snapshot()) {
      ASSERT_EQ(was.second, before[id].second) << "formula " << id << " after step " << step;
    }
    sheet.Rows(at, at + count - 1).Delete(xlShiftUp);
    ASSERT_EQ(snapshot(), before) << "step " << step;
  }
}

}  // namespace
}  // namespace tavrin
