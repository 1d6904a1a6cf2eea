#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "host/application.h"
#include "host/block.h"
#include "host/host_error.h"
#include "host/range.h"
#include "host/worksheet.h"

namespace tavrin {
namespace {

// A sheet for geometry alone: every member that would ask the host fails, so a test that
// reaches one has computed something through the host that Range must compute itself.
class GeometrySheet : public Worksheet {
 public:
  std::string Name() const override { throw Unexpected(); }
  Workbook& Parent() override { throw Unexpected(); }
  void Activate() override { throw Unexpected(); }
  void Copy(Worksheet&) override { throw Unexpected(); }
  tavrin::PageSetup& PageSetup() override { throw Unexpected(); }
  tavrin::HPageBreaks& HPageBreaks() override { throw Unexpected(); }
  using Worksheet::Range;
  tavrin::Range Range(std::string_view) override { throw Unexpected(); }
  Variant Value(const tavrin::Range&) override { throw Unexpected(); }
  void SetValue(const tavrin::Range&, const Variant&) override { throw Unexpected(); }
  Block Values(const Area&) override { throw Unexpected(); }
  void SetValues(const Area&, const Block&) override { throw Unexpected(); }
  std::string Formula(const tavrin::Range&) override { throw Unexpected(); }
  void SetFormula(const tavrin::Range&, const std::string&) override { throw Unexpected(); }
  std::string FormulaR1C1(const tavrin::Range&) override { throw Unexpected(); }
  void SetFormulaR1C1(const tavrin::Range&, const std::string&) override { throw Unexpected(); }
  std::string Text(const tavrin::Range&) override { throw Unexpected(); }
  void ClearContents(const tavrin::Range&) override { throw Unexpected(); }
  void Select(const tavrin::Range&) override { throw Unexpected(); }
  void Activate(const tavrin::Range&) override { throw Unexpected(); }
  tavrin::Range End(const tavrin::Range&, XlDirection) override { throw Unexpected(); }
  void AutoFill(const tavrin::Range&, const tavrin::Range&, XlAutoFillType) override {
    throw Unexpected();
  }
  void AdvancedFilter(const tavrin::Range&, XlFilterAction, const tavrin::Range&, bool) override {
    throw Unexpected();
  }
  void Copy(const tavrin::Range&) override { throw Unexpected(); }
  void Copy(const tavrin::Range&, const tavrin::Range&) override { throw Unexpected(); }
  void Cut(const tavrin::Range&, const tavrin::Range&) override { throw Unexpected(); }
  void PasteSpecial(const tavrin::Range&, XlPasteType, XlPasteSpecialOperation, bool,
                    bool) override {
    throw Unexpected();
  }
  void Insert(const tavrin::Range&, XlShift) override { throw Unexpected(); }
  void Delete(const tavrin::Range&, XlShift) override { throw Unexpected(); }

 private:
  static std::logic_error Unexpected() { return std::logic_error("geometry asked the host"); }
};

void ExpectHostError(int number, const std::function<void()>& call) {
  try {
    call();
    ADD_FAILURE() << "no failure " << number;
  } catch (const HostError& error) {
    EXPECT_EQ(error.Number(), number);
  }
}

TEST(RangeGeometry, DescribesTheFirstAreaAndCountsAllCells) {
  GeometrySheet sheet;
  Range range(sheet, std::vector<Area>{{2, 3, 4, 5}, {10, 1, 2, 2}});
  EXPECT_EQ(range.Row(), 2);
  EXPECT_EQ(range.Column(), 3);
  EXPECT_EQ(range.RowsCount(), 4);
  EXPECT_EQ(range.ColumnsCount(), 5);
  EXPECT_EQ(range.Count(), 24);
  EXPECT_EQ(range.Address(), "$C$2:$G$5,$A$10:$B$11");
  EXPECT_EQ(&range.Parent(), &sheet);
  EXPECT_EQ(Range(sheet, Area{1, 1, kLastRow, kLastColumn}).Count(), 16777216);
  ExpectHostError(1004, [&] { Range(sheet, std::vector<Area>{}); });
}

TEST(RangeGeometry, OffsetMovesEveryAreaAndStopsAtTheEdge) {
  GeometrySheet sheet;
  Range range(sheet, std::vector<Area>{{2, 2, 2, 2}, {5, 5, 1, 1}});
  EXPECT_EQ(range.Offset(1, 2).Address(), "$D$3:$E$4,$G$6");
  EXPECT_EQ(range.Offset(-1, -1).Address(), "$A$1:$B$2,$D$4");
  EXPECT_EQ(range.Offset(0, 0), range);
  ExpectHostError(1004, [&] { range.Offset(-2, 0); });
  ExpectHostError(1004, [&] { range.Offset(0, -2); });
  Range corner(sheet, Area{65536, 256, 1, 1});
  ExpectHostError(1004, [&] { corner.Offset(1, 0); });
  ExpectHostError(1004, [&] { corner.Offset(0, 1); });
  ExpectHostError(1004, [&] { sheet.Cells(1, 1).Offset(0, 0).Resize(2, 1).Offset(65535, 0); });
}

TEST(RangeGeometry, ResizeAndCellsCountFromTheTopLeftCell) {
  GeometrySheet sheet;
  Range range(sheet, std::vector<Area>{{3, 2, 5, 5}, {20, 20, 1, 1}});
  EXPECT_EQ(range.Resize(1, 1).Address(), "$B$3");
  EXPECT_EQ(range.Resize(2, 3).Address(), "$B$3:$D$4");
  EXPECT_EQ(range.Cells(1, 1).Address(), "$B$3");
  EXPECT_EQ(range.Cells(2, 3).Address(), "$D$4");
  // Cells may reach beyond the range itself, and back above it.
  EXPECT_EQ(range.Cells(10, 1).Address(), "$B$12");
  EXPECT_EQ(range.Cells(0, 0).Address(), "$A$2");
  ExpectHostError(1004, [&] { range.Cells(-2, 1); });
  ExpectHostError(1004, [&] { range.Resize(0, 1); });
  ExpectHostError(1004, [&] { range.Resize(65535, 1); });
  ExpectHostError(1004, [&] { range.Resize(1, 256); });
  EXPECT_EQ(range.EntireRow().Address(), "$3:$7");
}

TEST(RangeGeometry, NumbersAsLargeAsAnIntGoesFailAtTheEdgeToo) {
  GeometrySheet sheet;
  Range range(sheet, Area{9, 2, 1, 1});
  for (int far : {INT_MAX, INT_MIN, INT_MAX - 8, INT_MIN + 1}) {
    ExpectHostError(1004, [&] { range.Offset(far, 0); });
    ExpectHostError(1004, [&] { range.Offset(0, far); });
    ExpectHostError(1004, [&] { range.Resize(far, 1); });
    ExpectHostError(1004, [&] { range.Resize(1, far); });
    ExpectHostError(1004, [&] { range.Cells(far, 1); });
    ExpectHostError(1004, [&] { range.Cells(1, far); });
    ExpectHostError(1004, [&] { sheet.Cells(far, far); });
  }
}

TEST(WorksheetGeometry, CellsRowsAndRangeOfTwoCorners) {
  GeometrySheet sheet;
  EXPECT_EQ(sheet.Cells(5, 3).Address(), "$C$5");
  EXPECT_EQ(sheet.Cells(65536, 256).Address(), "$IV$65536");
  ExpectHostError(1004, [&] { sheet.Cells(0, 1); });
  ExpectHostError(1004, [&] { sheet.Cells(1, 257); });
  EXPECT_EQ(sheet.Rows(2, 4).Address(), "$2:$4");
  EXPECT_EQ(sheet.Rows("5:9").Address(), "$5:$9");
  EXPECT_EQ(sheet.Rows("7").Address(), "$7:$7");
  EXPECT_EQ(sheet.Rows("1").Address(), "$1:$1");
  EXPECT_EQ(sheet.Rows("65536").Address(), "$65536:$65536");
  ExpectHostError(1004, [&] { sheet.Rows("A:B"); });
  ExpectHostError(1004, [&] { sheet.Rows("7x"); });
  ExpectHostError(1004, [&] { sheet.Rows(0, 3); });
  ExpectHostError(1004, [&] { sheet.Rows(5, 4); });
  ExpectHostError(1004, [&] { sheet.Rows("0"); });
  ExpectHostError(1004, [&] { sheet.Rows("65537"); });
  ExpectHostError(1004, [&] { sheet.Rows("1:65537"); });
  EXPECT_EQ(sheet.Range(sheet.Cells(4, 4), sheet.Cells(2, 1)).Address(), "$A$2:$D$4");
}

TEST(InputBoxAnswer, ARangeIsAnAddressWithOrWithoutTheEqualsSign) {
  GeometrySheet sheet;
  auto evaluate = [&](std::string_view text) -> RangeOrValue {
    if (text == "B2:B4") return Range(sheet, Area{2, 2, 3, 1});
    return Variant(ErrorValue::Name);
  };
  EXPECT_EQ(InputBoxAnswer("B2:B4", 8, evaluate).AsRange().Address(), "$B$2:$B$4");
  EXPECT_EQ(InputBoxAnswer("=B2:B4", 8, evaluate).AsRange().Address(), "$B$2:$B$4");
  EXPECT_EQ(InputBoxAnswer("", 8, evaluate).Value(), Variant::Boolean(false));
  EXPECT_EQ(InputBoxAnswer(std::nullopt, 8, evaluate).Value(), Variant::Boolean(false));
  EXPECT_EQ(InputBoxAnswer("=B2:B4", 2, evaluate).Value(), Variant("=B2:B4"));
  EXPECT_EQ(InputBoxAnswer(std::nullopt, 2, evaluate).Value(), Variant::Boolean(false));
  auto none = [](const std::string&) -> Worksheet* { return nullptr; };
  EXPECT_EQ(EvaluateAddress(" \t", sheet, none).Value(), Variant(ErrorValue::Value));
  EXPECT_EQ(EvaluateAddress("B2:", sheet, none).Value(), Variant(ErrorValue::Name));
  EXPECT_EQ(EvaluateAddress("Other!B2", sheet, none).Value(), Variant(ErrorValue::Ref));
}

TEST(Block, IndexesFromOneAndRefusesOutsideItsBounds) {
  Block block(2, 3);
  EXPECT_EQ(block.Rows(), 2);
  EXPECT_EQ(block.Columns(), 3);
  block(2, 3) = Variant("last");
  block(1, 1) = Variant(1);
  EXPECT_EQ(block(2, 3), Variant("last"));
  EXPECT_EQ(block(1, 1), Variant(1));
  EXPECT_TRUE(block(1, 2).IsEmpty());
  for (auto [row, column] : {std::pair{0, 1}, {1, 0}, {3, 1}, {1, 4}, {-1, -1}}) {
    ExpectHostError(9, [&, row = row, column = column] { block(row, column); });
  }
  const Block empty;
  ExpectHostError(9, [&] { empty(1, 1); });
}

}  // namespace
}  // namespace tavrin
