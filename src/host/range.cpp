#include "host/range.h"

#include "host/host_error.h"
#include "host/worksheet.h"

namespace tavrin {

namespace {

void CheckInside(const Area& area) {
  if (area.row < 1 || area.column < 1 || area.rows < 1 || area.columns < 1 ||
      area.LastRow() > kLastRow || area.LastColumn() > kLastColumn) {
    throw HostError::ApplicationDefined();
  }
}

}  // namespace

Range::Range(Worksheet& sheet, std::vector<Area> areas) : sheet_(&sheet), areas_(std::move(areas)) {
  if (areas_.empty()) throw HostError::ApplicationDefined();
}

long long Range::Count() const {
  long long count = 0;
  for (const Area& area : areas_) count += area.Count();
  return count;
}

Range Range::Offset(int rows, int columns) const {
  std::vector<Area> moved = areas_;
  for (Area& area : moved) {
    area.row += rows;
    area.column += columns;
    CheckInside(area);
  }
  return Range(*sheet_, std::move(moved));
}

Range Range::Resize(int rows, int columns) const {
  Area area{Row(), Column(), rows, columns};
  CheckInside(area);
  return Range(*sheet_, area);
}

Range Range::Cells(int row, int column) const {
  Area area{Row() + row - 1, Column() + column - 1, 1, 1};
  CheckInside(area);
  return Range(*sheet_, area);
}

Range Range::EntireRow() const {
  return Range(*sheet_, Area{Row(), 1, RowsCount(), kLastColumn});
}

std::string Range::Address() const {
  std::string text;
  for (const Area& area : areas_) {
    if (!text.empty()) text += ',';
    text += AreaAddress(area);
  }
  return text;
}

Variant Range::Value() const { return sheet_->Value(Cells(1, 1)); }
void Range::SetValue(const Variant& value) const { sheet_->SetValue(*this, value); }
Block Range::Values() const { return sheet_->Values(FirstArea()); }
void Range::SetValues(const Block& values) const { sheet_->SetValues(FirstArea(), values); }
std::string Range::Formula() const { return sheet_->Formula(Cells(1, 1)); }
void Range::SetFormula(const std::string& formula) const { sheet_->SetFormula(*this, formula); }
std::string Range::FormulaR1C1() const { return sheet_->FormulaR1C1(Cells(1, 1)); }
void Range::SetFormulaR1C1(const std::string& formula) const {
  sheet_->SetFormulaR1C1(*this, formula);
}
std::string Range::Text() const { return sheet_->Text(Cells(1, 1)); }
void Range::ClearContents() const { sheet_->ClearContents(*this); }
void Range::Select() const { sheet_->Select(*this); }
void Range::Activate() const { sheet_->Activate(*this); }
Range Range::End(XlDirection direction) const { return sheet_->End(Cells(1, 1), direction); }
void Range::AutoFill(const Range& destination, XlAutoFillType type) const {
  sheet_->AutoFill(*this, destination, type);
}
void Range::AdvancedFilter(XlFilterAction action, const Range& copyToRange, bool unique) const {
  sheet_->AdvancedFilter(*this, action, copyToRange, unique);
}
void Range::Copy() const { sheet_->Copy(*this); }
void Range::Copy(const Range& destination) const { sheet_->Copy(*this, destination); }
void Range::Cut(const Range& destination) const { sheet_->Cut(*this, destination); }
void Range::PasteSpecial(XlPasteType paste, XlPasteSpecialOperation operation, bool skipBlanks,
                         bool transpose) const {
  sheet_->PasteSpecial(*this, paste, operation, skipBlanks, transpose);
}
void Range::Insert(XlShift shift) const { sheet_->Insert(*this, shift); }
void Range::Delete(XlShift shift) const { sheet_->Delete(*this, shift); }

}  // namespace tavrin
