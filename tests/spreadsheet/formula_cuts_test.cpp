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
  other.Range("A1").SetFormula("=Sheet1!C5+'Sheet1'!B8");
  other.Range("A2").SetFormula("=C5");
  sheet.Range("B4:C5").Cut(sheet.Range("F1"));
  EXPECT_EQ(FormulaOf("E1"), "=SUM(F1:F2)") << "the range lay wholly in the cut cells";
  EXPECT_EQ(FormulaOf("E2"), "=SUM(B3:B5)") << "a range reaching out of them stays";
  EXPECT_EQ(FormulaOf("E3"), "=$F$1*2") << "an absolute reference follows, and stays absolute";
  EXPECT_EQ(FormulaOf("E4"), "=#REF!+G9") << "F2 was pasted over; G9 was not";
  EXPECT_EQ(other.Range("A1").Formula(), "=Sheet1!G2+Sheet1!B8");
  EXPECT_EQ(other.Range("A2").Formula(), "=C5") << "the other sheet's own cells stay";
  EXPECT_EQ(other.Range("A1").Value(), Variant(15.0 + 8));
}

}  // namespace
}  // namespace tavrin
