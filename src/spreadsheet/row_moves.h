#pragma once

#include <map>
#include <optional>
#include <vector>

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

// Values kept by row follow an insertion (count > 0) or deletion (count < 0) of whole rows at a
// row: those below move, those of deleted rows or pushed past the sheet's last row go.
template <class T>
void MoveRowKeys(std::map<int, T>& byRow, int at, int count) {
  // The rows from at down leave the map and come back in order under their new numbers, each
  // at the end: no entry is made anew and none above at is touched.
  std::vector<typename std::map<int, T>::node_type> below;
  for (auto it = byRow.lower_bound(at); it != byRow.end();) below.push_back(byRow.extract(it++));
  for (auto& entry : below) {
    int row = entry.key();
    if (count > 0 ? row + count > kLastRow : row < at - count) continue;
    entry.key() = row + count;
    byRow.insert(byRow.end(), std::move(entry));
  }
}

// What a sheet's layout and page setup say about rows follows an insertion or deletion of
// whole rows: row formats, merged cells, manual breaks (a deleted row's break goes), the print area
// and the print title rows (cleared when all their rows are deleted).
void MoveLayoutRows(SheetLayout& layout, PageSetup& setup, int at, int count);

}  // namespace tavrin
