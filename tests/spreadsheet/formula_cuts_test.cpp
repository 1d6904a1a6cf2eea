#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "sheet_fixture.h"

namespace tavrin {
namespace {

class FormulaCutsTest : public SheetTest {
 protected:
  // B1:B8 hold 1 to 8; C1:C8 their running total.
  void PutRunningTotal() {
    FillColumn(2, 1, 8);
    At("C1").SetFormula("=B1");
    for (int r = 2; r <= 8; ++r) {
      sheet.Cells(r, 3).SetFormula("=C" + std::to_string(r - 1) + "+B" + std::to_string(r));
    }
  }
  std::string FormulaOf(const char* address) { return sheet.Range(address).Formula(); }
};

TEST_F(FormulaCutsTest, MovedFormulasKeepTheirCellsAndReferencesToCutCellsFollowThem) {
  PutRunningTotal();
  sheet.Range("B4:C5").Cut(sheet.Range("F1"));
  EXPECT_EQ(FormulaOf("G1"), "=C3+F1")
      << "C3 stayed; B4 went to F1" << sheet.Range("G1").FormulaR1C1();
  EXPECT_EQ(FormulaOf("G2"), "=G1+F2") << "C4 and B5 both went";
  EXPECT_EQ(FormulaOf("C6"), "=G2+B6") << "C5 went to G2";
  EXPECT_EQ(Get("G1"), Variant(10.0));
  EXPECT_EQ(Get("G2"), Variant(15.0));
  EXPECT_EQ(Get("C8"), Variant(36.0)) << "the total is as it was";
}

TEST_F(FormulaCutsTest, RangesWhollyInTheCutFollowItAndOtherSheetsFollowToo) {
  PutRunningTotal();
  Sheet& other = book.AddSheet("Other");
  At("E1").SetFormula("=SUM(B4:B5)");
  At("E2").SetFormula("=SUM(B3:B5)");
  At("E3").SetFormula("=$B$4*2");
  At("E4").SetFormula("=F2+G9");
  At("H100").SetFormula("=$G$2");
  other.Range("A1").SetFormula("=Sheet1!C5+'Sheet1'!B8");
  other.Range("A2").SetFormula("=C5");
  sheet.Range("B4:C5").Cut(sheet.Range("F1"));
  EXPECT_EQ(FormulaOf("E1"), "=SUM(F1:F2)") << "the range lay wholly in the cut cells";
  EXPECT_EQ(FormulaOf("E2"), "=SUM(B3:B5)") << "a range reaching out of them stays";
  EXPECT_EQ(FormulaOf("E3"), "=$F$1*2") << "an absolute reference follows, and stays absolute";
  EXPECT_EQ(FormulaOf("E4"), "=#REF!+G9") << "F2 was pasted over; G9 was not";
  EXPECT_EQ(FormulaOf("H100"), "=#REF!") << "however far from the cut";
  EXPECT_EQ(other.Range("A1").Formula(), "=Sheet1!G2+Sheet1!B8");
  EXPECT_EQ(other.Range("A2").Formula(), "=C5") << "the other sheet's own cells stay";
  EXPECT_EQ(other.Range("A1").Value(), Variant(15.0 + 8));
}

TEST_F(FormulaCutsTest, TheLastColumnOtherSheetsAndWholeLinesAsTheCellsGo) {
  PutRunningTotal();
  Sheet& other = book.AddSheet("Other");
  At("IV1").SetFormula("=B4");
  At("E5").SetFormula("=SUM(B:B)+SUM(1:1)");
  other.Range("F1").SetFormula("=Sheet1!B4");
  sheet.Range("B4:C5").Cut(sheet.Range("F1"));
  EXPECT_EQ(FormulaOf("IV1"), "=F1");
  EXPECT_EQ(FormulaOf("E5"), "=SUM(B:B)+SUM(1:1)") << "whole columns and rows stay";
  EXPECT_EQ(other.Range("F1").Formula(), "=Sheet1!F1");
  EXPECT_EQ(other.Range("F1").Value(), Variant(4));
}

TEST_F(FormulaCutsTest, AMovedFormulaKeepsTheCellsOfEachCornerItDidNotMoveWith) {
  FillColumn(2, 1, 8);
  At("C3").SetFormula("=B3");
  At("C5").SetFormula("=SUM(B$1:B5)");
  sheet.Range("C3").Cut(sheet.Range("F10"));
  EXPECT_EQ(FormulaOf("F10"), "=B3") << "a single row with no reach beyond it";
  sheet.Range("C5").Cut(sheet.Range("C20"));
  EXPECT_EQ(FormulaOf("C20"), "=SUM(B$1:B5)");
  EXPECT_EQ(Get("C20"), Variant(15));
}

TEST_F(FormulaCutsTest, FormulasFarFromTheCutPointingIntoThePastedCellsGetRefErrors) {
  FillColumn(1, 100, 101);
  At("C5").SetFormula("=E30+1");   // down into the cells pasted over
  At("C60").SetFormula("=E31+1");  // up into them
  At("C61").SetFormula("=E32+1");  // below them
  sheet.Range("A100:A101").Cut(sheet.Range("E30"));
  EXPECT_EQ(FormulaOf("C5"), "=#REF!+1");
  EXPECT_EQ(FormulaOf("C60"), "=#REF!+1");
  EXPECT_EQ(FormulaOf("C61"), "=E32+1");
}

// Numbers in A1:A200, and formulas in B and D pointing at them, relative and absolute, near and
// far, each formula's result different. Blocks of A:D cut anywhere into empty cells no formula
// points at: every formula still computes what it did, wherever it and its cells went. Only the
// formulas within reach of a cut are looked at, so one the reach missed would compute another.
TEST_F(FormulaCutsTest, CutsIntoEmptyCellsLeaveEveryResultAsItWas) {
  std::mt19937 draw(3);
  auto row = [&](int most) { return 1 + static_cast<int>(draw() % most); };
  for (int r = 1; r <= 200; ++r) sheet.Cells(r, 1).SetValue(Variant(r * 1000.0));
  for (int i = 0; i < 80; ++i) {
    int at = row(200), target = row(200);
    // Relative rows in B, which only formulas near a cut can point across; absolute ones in D.
    bool relative = i % 2 == 0;
    std::string formula =
        (relative ? "=A" : "=$A$") + std::to_string(target) + "+" + std::to_string(i);
    sheet.Cells(at, relative ? 2 : 4).SetFormula(formula);
  }
  auto results = [&] {
    std::vector<double> found;
    for (int c = 1; c <= 30; ++c) {
      sheet.Store().Column(c).ForEachFormula(1, kLastRow, [&](int r, const Cell&) {
        Variant value = sheet.Cells(r, c).Value();
        found.push_back(value.IsNumber() ? value.AsNumber() : -1);
      });
    }
    std::sort(found.begin(), found.end());
    return found;
  };
  std::vector<double> before = results();
  for (int step = 0; step < 25; ++step) {
    int first = row(200), rows = row(20), column = row(4);
    int last = std::min(first + rows - 1, 200);
    sheet.Range(sheet.Cells(first, column), sheet.Cells(last, 4))
        .Cut(sheet.Cells(300 + 25 * step, 6 + step % 20));
    ASSERT_EQ(results(), before) << "step " << step;
  }
}

}  // namespace
}  // namespace tavrin
