#include "host/range.h"

#include "host/host_error.h"
#include "host/worksheet.h"

namespace tavrin {

namespace {

// The area of those corner and counts when it lies on the sheet; numbers a caller computed from
// anything (a dialog's text, a count) may be as large as an int goes, so they are checked before
// they are added up.
Area Inside(long long row, long long column, long long rows, long long columns) {
  if (row < 1 || column < 1 || rows < 1 || columns < 1 || row + rows - 1 > kLastRow ||
      column + columns - 1 > kLastColumn) {
    throw HostError::ApplicationDefined();
  }
  return Area{static_cast<int>(row), static_cast<int>(column), static_cast<int>(rows),
              static_cast<int>(columns)};
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
  std::vector<Area> moved;
  for (const Area& area : areas_) {
    moved.push_back(Inside(static_cast<long long>(area.row) + rows,
                           static_cast<long long>(area.column) + columns, area.rows, area.columns));
  }
  return Range(*sheet_, std::move(moved));
}

Range Range::Resize(int rows, int columns) const {
  return Range(*sheet_, Inside(Row(), Column(), rows, columns));
}

Range Range::Cells(int row, int column) const {
  return Range(*sheet_, Inside(static_cast<long long>(Row()) + row - 1,
                               static_cast<long long>(Column()) + column - 1, 1, 1));
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

Variant Range::Value() const {
  return sheet_->Value(Cells(1, 1));
}
void Range::SetValue(const Variant& value) const {
  sheet_->SetValue(*this, value);
}
Block Range::Values() const {
  return sheet_->Values(FirstArea());
}
void Range::SetValues(const Block& values) const {
  sheet_->SetValues(FirstArea(), values);
}
std::string Range::Formula() const {
  return sheet_->Formula(Cells(1, 1));
}
void Range::SetFormula(const std::string& formula) const {
  sheet_->SetFormula(*this, formula);
}
std::string Range::FormulaR1C1() const {
  return sheet_->FormulaR1C1(Cells(1, 1));
}
void Range::SetFormulaR1C1(const std::string& formula) const {
  sheet_->SetFormulaR1C1(*this, formula);
}
std::string Range::Text() const {
  return sheet_->Text(Cells(1, 1));
}
void Range::ClearContents() const {
  sheet_->ClearContents(*this);
}
void Range::Select() const {
  sheet_->Select(*this);
}
void Range::Activate() const {
  sheet_->Activate(*this);
}
Range Range::End(XlDirection direction) const {
  return sheet_->End(Cells(1, 1), direction);
}
void Range::AutoFill(const Range& destination, XlAutoFillType type) const {
  sheet_->AutoFill(*this, destination, type);
}
void Range::AdvancedFilter(XlFilterAction action, const Range& copyToRange, bool unique) const {
  sheet_->AdvancedFilter(*this, action, copyToRange, unique);
}
void Range::Copy() const {
  sheet_->Copy(*this);
}
void Range::Copy(const Range& destination) const {
  sheet_->Copy(*this, destination);
}
void Range::Cut(const Range& destination) const {
  sheet_->Cut(*this, destination);
}
void Range::PasteSpecial(XlPasteType paste, XlPasteSpecialOperation operation, bool skipBlanks,
                         bool transpose) const {
  sheet_->PasteSpecial(*this, paste, operation, skipBlanks, transpose);
}
void Range::Insert(XlShift shift) const {
  sheet_->Insert(*this, shift);
}
void Range::Delete(XlShift shift) const {
  sheet_->Delete(*this, shift);
}

}  // namespace tavrin
