#include "host/host_error.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// End along a row: at most 256 cells, looked up one by one.
int EndInRow(const CellStore& store, int row, int column, int step) {
  int edge = step > 0 ? kLastColumn : 1;
  if (column == edge) return column;
  auto has = [&](int c) { return store.HasContent(row, c); };
  if (has(column) && has(column + step)) {
    while (column != edge && has(column + step)) column += step;
    return column;
  }
  for (int c = column + step; c != edge + step; c += step) {
    if (has(c)) return c;
  }
  return edge;
}

// End along a column: the column's stored cells are searched, never its empty rows.
int EndInColumn(const CellColumn& cells, int row, int step) {
  int edge = step > 0 ? kLastRow : 1;
  if (row == edge) return row;
  auto has = [&](int r) {
    const Cell* cell = cells.Find(r);
    return cell != nullptr && cell->HasContent();
  };
  if (has(row) && has(row + step)) return cells.RunEnd(row, step);
  int found = step > 0 ? cells.NextContent(row + 1) : cells.PreviousContent(row - 1);
  return found != 0 ? found : edge;
}

}  // namespace

// The host's Ctrl+arrow: along a run of content to its last cell, or else to the next cell
// holding content, or else to the sheet's edge.
Range Sheet::End(const tavrin::Range& from, XlDirection direction) {
  int row = from.Row();
  int column = from.Column();
  switch (direction) {
    case xlDown:
      row = EndInColumn(store_.Column(column), row, 1);
      break;
    case xlUp:
      row = EndInColumn(store_.Column(column), row, -1);
      break;
    case xlToRight:
      column = EndInRow(store_, row, column, 1);
      break;
    case xlToLeft:
      column = EndInRow(store_, row, column, -1);
      break;
    default:
      throw HostError::ApplicationDefined();
  }
  return Cells(row, column);
}

}  // namespace tavrin
