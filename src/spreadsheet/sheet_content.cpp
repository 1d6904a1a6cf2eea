#include "host/host_error.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/typed_entry.h"

namespace tavrin {

Variant Sheet::Value(const tavrin::Range& cell) {
  const Cell* found = store_.Find(cell.Row(), cell.Column());
  return found ? found->value : Variant();
}

void Sheet::WriteEntry(const tavrin::Range& range, const Variant& value) {
  Entry entry = ReadEntry(value, Locale());
  bool clears = entry.value.IsEmpty() && !entry.formula;
  for (const Area& area : range.Areas()) {
    if (clears) {
      store_.Clear(area, ClearPart::Contents);
      continue;
    }
    for (int c = area.column; c <= area.LastColumn(); ++c) {
      for (int r = area.row; r <= area.LastRow(); ++r)
        store_.SetContent(r, c, entry.value, entry.formula);
    }
  }
  changed_ = true;
}

void Sheet::SetValue(const tavrin::Range& range, const Variant& value) {
  WriteEntry(range, value);
}

Block Sheet::Values(const Area& area) {
  Block block(area.rows, area.columns);
  ForEachValue(area, [&](int row, int column, const Variant& value) {
    block(row - area.row + 1, column - area.column + 1) = value;
  });
  return block;
}

void Sheet::SetValues(const Area& area, const Block& values) {
  if (values.Rows() != area.rows || values.Columns() != area.columns) {
    throw HostError::ApplicationDefined();
  }
  const UserLocale& locale = Locale();
  for (int c = 1; c <= area.columns; ++c) {
    for (int r = 1; r <= area.rows; ++r) {
      Entry entry = ReadEntry(values(r, c), locale);
      store_.SetContent(area.row + r - 1, area.column + c - 1, std::move(entry.value),
                        std::move(entry.formula));
    }
  }
  changed_ = true;
}

std::string Sheet::Formula(const tavrin::Range& cell) {
  const Cell* found = store_.Find(cell.Row(), cell.Column());
  return found ? EntryText(*found, Locale()) : "";
}

void Sheet::SetFormula(const tavrin::Range& range, const std::string& formula) {
  WriteEntry(range, Variant(formula));
}

// Until the formula engine converts between the two notations, a formula keeps the text it was
// given in either.
std::string Sheet::FormulaR1C1(const tavrin::Range& cell) {
  return Formula(cell);
}

void Sheet::SetFormulaR1C1(const tavrin::Range& range, const std::string& formula) {
  WriteEntry(range, Variant(formula));
}

std::string Sheet::Text(const tavrin::Range& cell) {
  return DisplayText(Value(cell), Locale());
}

void Sheet::ClearContents(const tavrin::Range& range) {
  for (const Area& area : range.Areas()) store_.Clear(area, ClearPart::Contents);
  changed_ = true;
}

}  // namespace tavrin
