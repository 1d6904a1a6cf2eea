#include <unordered_set>

#include <com/sun/star/sheet/CellDeleteMode.hpp>
#include <com/sun/star/sheet/CellInsertMode.hpp>
#include <com/sun/star/sheet/XCellRangeMovement.hpp>

#include "calc/calc_application.h"
#include "calc/calc_book.h"
#include "calc/calc_sheet.h"
#include "calc/cell_values.h"
#include "calc/kept_contents.h"
#include "calc/record_keys.h"
#include "calc/uno_text.h"
#include "host/host_error.h"

namespace tavrin {

namespace table = com::sun::star::table;

namespace {

uno::Reference<sheet::XCellRangeMovement> Movement(const CalcSheet& sheet) {
  return uno::Reference<sheet::XCellRangeMovement>(sheet.UnoSheet(), uno::UNO_QUERY_THROW);
}

table::CellAddress CellAt(const CalcSheet& sheet, int row, int column) {
  return table::CellAddress(sheet.Index(), column - 1, row - 1);
}

CalcSheet& SheetOf(const Range& range) {
  return static_cast<CalcSheet&>(range.Parent());
}

}  // namespace

// The source block copied again and again beside itself, each copy twice the last, so a block
// of n rows takes log n copies.
void CalcSheet::Repeat(const Area& source, const Area& destination) {
  uno::Reference<sheet::XCellRangeMovement> movement = Movement(*this);
  for (int done = source.columns; done < destination.columns;) {
    int part = std::min(done, destination.columns - done);
    movement->copyRange(CellAt(*this, destination.row, destination.column + done),
                        Address(Area{destination.row, destination.column, source.rows, part}));
    done += part;
  }
  for (int done = source.rows; done < destination.rows;) {
    int part = std::min(done, destination.rows - done);
    movement->copyRange(
        CellAt(*this, destination.row + done, destination.column),
        Address(Area{destination.row, destination.column, part, destination.columns}));
    done += part;
  }
}

// A fill copies the source over the rest of the destination: formulas shift their relative
// references and constants copy (Calc would count a number up).
void CalcSheet::AutoFill(const tavrin::Range& source, const tavrin::Range& destination,
                         XlAutoFillType) {
  const Area& from = source.FirstArea();
  const Area& to = destination.FirstArea();
  bool fromCorner = from.row == to.row && from.column == to.column;
  bool down = from.columns == to.columns && to.rows >= from.rows;
  bool right = from.rows == to.rows && to.columns >= from.columns;
  if (!fromCorner || !(down || right)) throw HostError::MethodFailed("Range", "AutoFill");
  Repeat(from, to);
}

// Calc's own filter keeps duplicates that differ in letter case; the host's does not, so the
// records are compared here, as the host compares them.
void CalcSheet::AdvancedFilter(const tavrin::Range& list, XlFilterAction action,
                               const tavrin::Range& copyToRange, bool unique) {
  if (action != xlFilterCopy) throw HostError::MethodFailed("Range", "AdvancedFilter");
  const Area& area = list.FirstArea();
  Block values = Values(area);
  std::vector<int> kept{1};
  std::unordered_set<std::string> seen;
  for (int r = 2; r <= area.rows; ++r) {
    if (!unique || seen.insert(RecordKey(values, r)).second) kept.push_back(r);
  }
  Area target{copyToRange.Row(), copyToRange.Column(), static_cast<int>(kept.size()), area.columns};
  if (target.LastRow() > kLastRow || target.LastColumn() > kLastColumn)
    throw HostError::MethodFailed("Range", "AdvancedFilter");
  Block result(target.rows, target.columns);
  for (int k = 1; k <= target.rows; ++k) {
    for (int c = 1; c <= area.columns; ++c) result(k, c) = values(kept[k - 1], c);
  }
  CalcSheet& destination = SheetOf(copyToRange);
  WriteCells(destination.CellRange(target), result, destination.Document());
}

void CalcSheet::Copy(const tavrin::Range& source) {
  book_.App().SetCopied(source);
}

void CalcSheet::Copy(const tavrin::Range& source, const tavrin::Range& destination) {
  Movement(SheetOf(destination))
      ->copyRange(CellAt(SheetOf(destination), destination.Row(), destination.Column()),
                  Address(source.FirstArea()));
}

// References to the cut cells follow them, as in the host.
void CalcSheet::Cut(const tavrin::Range& source, const tavrin::Range& destination) {
  Movement(*this)->moveRange(CellAt(SheetOf(destination), destination.Row(), destination.Column()),
                             Address(source.FirstArea()));
}

// Paste special of the copied range: its formats alone, or everything turned (rows become
// columns). Formats are Calc's copy of the cells with the contents put back afterwards.
void CalcSheet::PasteSpecial(const tavrin::Range& at, XlPasteType paste, XlPasteSpecialOperation,
                             bool, bool transpose) {
  const std::optional<tavrin::Range>& copied = book_.App().Copied();
  bool formats = paste == xlPasteFormats && !transpose;
  bool turned = paste == xlPasteAll && transpose;
  if (!copied || !(formats || turned)) throw HostError::MethodFailed("Range", "PasteSpecial");
  CalcSheet& source = SheetOf(*copied);
  const Area& from = copied->FirstArea();
  if (turned) {
    Block values = source.Values(from);
    Block across(from.columns, from.rows);
    for (int r = 1; r <= from.rows; ++r) {
      for (int c = 1; c <= from.columns; ++c) across(c, r) = values(r, c);
    }
    Area to{at.Row(), at.Column(), from.columns, from.rows};
    if (to.LastRow() > kLastRow || to.LastColumn() > kLastColumn)
      throw HostError::MethodFailed("Range", "PasteSpecial");
    WriteCells(CellRange(to), across, Document());
    return;
  }
  // Whole rows pasted over whole rows take the copied rows' formats, a row at a time.
  const Area& target = at.FirstArea();
  for (int done = 0; done < target.rows; done += from.rows) {
    Area to{target.row + done, target.column, std::min(from.rows, target.rows - done),
            from.columns};
    KeptContents kept = KeepContents(CellRange(to));
    Movement(*this)->copyRange(CellAt(*this, to.row, to.column),
                               source.Address(Area{from.row, from.column, to.rows, from.columns}));
    kept.PutBack();
  }
}

void CalcSheet::Insert(const tavrin::Range& range, XlShift shift) {
  for (const Area& area : range.Areas()) {
    sheet::CellInsertMode mode = area.IsWholeRows()        ? sheet::CellInsertMode_ROWS
                                 : shift == xlShiftToRight ? sheet::CellInsertMode_RIGHT
                                                           : sheet::CellInsertMode_DOWN;
    Movement(*this)->insertCells(Address(area), mode);
  }
}

void CalcSheet::Delete(const tavrin::Range& range, XlShift shift) {
  for (const Area& area : range.Areas()) {
    sheet::CellDeleteMode mode = area.IsWholeRows()   ? sheet::CellDeleteMode_ROWS
                                 : shift == xlShiftUp ? sheet::CellDeleteMode_UP
                                                      : sheet::CellDeleteMode_LEFT;
    Movement(*this)->removeRange(Address(area), mode);
  }
}

}  // namespace tavrin
