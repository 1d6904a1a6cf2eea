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

}  // namespace
}  // namespace tavrin
