#pragma once

#include <optional>

#include "host/page.h"
#include "spreadsheet/sheet_layout.h"

namespace tavrin {

// Rows first to last after count rows were inserted at a row (count > 0) or the rows at to
// at - count - 1 deleted (count < 0). An insertion at or above the first row moves the span,
// one inside it makes it taller; a deletion cuts the deleted rows out. Nothing is left when
// every row was deleted or pushed past the sheet's last row.
struct RowSpan {
  int first;
  int last;
};
std::optional<RowSpan> MoveRowSpan(RowSpan span, int at, int count);

// What a sheet's layout and page setup say about rows follows an insertion or deletion of
// whole rows: row formats, merged cells, manual breaks (a deleted row's break goes), the print area
// and the print title rows (cleared when all their rows are deleted).
void MoveLayoutRows(SheetLayout& layout, PageSetup& setup, int at, int count);

}  // namespace tavrin
