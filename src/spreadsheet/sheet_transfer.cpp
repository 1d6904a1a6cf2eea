#include <algorithm>

#include "host/host_error.h"
#include "spreadsheet/advanced_filter.h"
#include "spreadsheet/formula_cuts.h"
#include "spreadsheet/formula_moves.h"
#include "spreadsheet/row_moves.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// Whole-row areas bottom first, so shifting one does not move the next; any other area fails.
std::vector<Area> WholeRowsBottomFirst(const Range& range, const char* method) {
  std::vector<Area> areas = range.Areas();
  for (const Area& area : areas) {
    if (!area.IsWholeRows()) throw HostError::MethodFailed("Range", method);
  }
  std::sort(areas.begin(), areas.end(), [](const Area& a, const Area& b) { return a.row > b.row; });
  return areas;
}

}  // namespace

// Only the copy to another place; filtering in place hides rows, which the sheet does not do.
void Sheet::AdvancedFilter(const tavrin::Range& list, XlFilterAction action,
                           const tavrin::Range& copyToRange, bool unique) {
  book_.Parent().BetweenOperations();
  if (action != xlFilterCopy) throw HostError::MethodFailed("Range", "AdvancedFilter");
  Sheet& destination = SheetOf(copyToRange);
  CopyFilteredRows(
      store_, list.FirstArea(),
      [this](int row, int column, const Cell& cell) { return calc_->Value(row, column, cell); },
      destination.store_, copyToRange.Row(), copyToRange.Column(), unique);
}

void Sheet::Copy(const tavrin::Range& source) {
  book_.Parent().BetweenOperations();
  CellBlock block = ReadBlock(source.FirstArea());
  if (source.FirstArea().IsWholeRows()) {
    for (int r = source.Row(); r <= source.FirstArea().LastRow(); ++r)
      block.rowHeights.push_back(RowHeight(r));
  }
  book_.Parent().SetClipboard(std::move(block));
}

void Sheet::Copy(const tavrin::Range& source, const tavrin::Range& destination) {
  book_.Parent().BetweenOperations();
  CellBlock block = ReadBlock(source.FirstArea(), false);
  SheetOf(destination).PasteBlock(block, destination.FirstArea(), xlPasteAll, false);
}

// Within a sheet, references follow the cut cells; to another sheet the cells go as copied.
void Sheet::Cut(const tavrin::Range& source, const tavrin::Range& destination) {
  book_.Parent().BetweenOperations();
  CellBlock block = ReadBlock(source.FirstArea(), false);
  store_.Clear(source.FirstArea(), ClearPart::All);
  Sheet& target = SheetOf(destination);
  target.PasteBlock(block, destination.FirstArea(), xlPasteAll, false);
  if (&target == this)
    MoveFormulaCut(book_, *this, source.FirstArea(), destination.Row(), destination.Column());
}

void Sheet::PasteSpecial(const tavrin::Range& at, XlPasteType paste,
                         XlPasteSpecialOperation operation, bool skipBlanks, bool transpose) {
  book_.Parent().BetweenOperations();
  const std::optional<CellBlock>& clipboard = book_.Parent().Clipboard();
  if (!clipboard || operation != xlPasteSpecialOperationNone) {
    throw HostError::MethodFailed("Range", "PasteSpecial");
  }
  CellBlock block = transpose ? clipboard->Transposed() : *clipboard;
  // A destination a whole number of times the block's size takes the block that many times.
  const Area& target = at.FirstArea();
  int down = target.rows % block.rows == 0 ? target.rows / block.rows : 1;
  int across = target.columns % block.columns == 0 ? target.columns / block.columns : 1;
  for (int i = 0; i < down; ++i) {
    for (int j = 0; j < across; ++j) {
      Area tile{target.row + i * block.rows, target.column + j * block.columns, 1, 1};
      PasteBlock(block, tile, paste, skipBlanks);
      // Whole rows pasted whole or as formats take the copied rows' heights.
      if (!transpose && paste != xlPasteValues) {
        for (size_t r = 0; r < block.rowHeights.size(); ++r)
          SetRowHeight(tile.row + static_cast<int>(r), block.rowHeights[r]);
      }
    }
  }
  // The pasted cells become the selection, as in the host.
  selection_ = {Area{at.Row(), at.Column(), block.rows * down, block.columns * across}};
}

// Puts a block at the area's top-left cell: everything, the styles only or the values only.
// Without skipBlanks the block's blank cells clear what they land on.
void Sheet::PasteBlock(const CellBlock& block, const Area& at, XlPasteType paste, bool skipBlanks) {
  Area target{at.row, at.column, block.rows, block.columns};
  if (target.LastRow() > kLastRow || target.LastColumn() > kLastColumn) {
    throw HostError::MethodFailed("Range", "PasteSpecial");
  }
  ClearPart cleared;
  switch (paste) {
    case xlPasteAll:
      cleared = ClearPart::All;
      break;
    case xlPasteFormats:
      cleared = ClearPart::Formats;
      break;
    case xlPasteValues:
      cleared = ClearPart::Contents;
      break;
    default:
      throw HostError::MethodFailed("Range", "PasteSpecial");
  }
  if (!skipBlanks) store_.Clear(target, cleared);
  for (const CellBlock::Placed& placed : block.cells) {
    int row = target.row + placed.row;
    int column = target.column + placed.column;
    if (paste == xlPasteFormats) {
      store_.SetStyle(row, column, placed.cell.style);
    } else if (placed.cell.HasContent() || !skipBlanks) {
      if (paste == xlPasteAll) {
        store_.Put(row, column, Placed(placed.cell, row, column));
      } else {
        store_.SetContent(row, column, placed.cell.value, nullptr);
      }
    }
  }
}

// Whole rows only, for now: the formula engine adjusts references when rows move, and partial
// ranges shift cells sideways, which the store does not do yet.
void Sheet::Insert(const tavrin::Range& range, XlShift) {
  book_.Parent().BetweenOperations();
  std::vector<Area> areas = WholeRowsBottomFirst(range, "Insert");
  for (const Area& area : areas) {
    // The host refuses to push content off the sheet's last row.
    for (int c = 1; c <= kLastColumn; ++c) {
      if (store_.Column(c).PreviousContent(kLastRow) > kLastRow - area.rows) {
        throw HostError::MethodFailed("Range", "Insert");
      }
    }
  }
  for (const Area& area : areas) {
    store_.InsertRows(area.row, area.rows);
    ShiftRowHeights(area.row, area.rows);
    MoveLayoutRows(layout_, pageSetup_, area.row, area.rows);
    MoveFormulaRows(book_, *this, area.row, area.rows);
    FormatFromAbove(area.row, area.rows);
  }
}

void Sheet::Delete(const tavrin::Range& range, XlShift) {
  book_.Parent().BetweenOperations();
  for (const Area& area : WholeRowsBottomFirst(range, "Delete")) {
    store_.DeleteRows(area.row, area.rows);
    ShiftRowHeights(area.row, -area.rows);
    MoveLayoutRows(layout_, pageSetup_, area.row, -area.rows);
    MoveFormulaRows(book_, *this, area.row, -area.rows);
  }
}

}  // namespace tavrin
