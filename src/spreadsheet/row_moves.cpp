#include "spreadsheet/row_moves.h"

#include <algorithm>
#include <string>

#include "host/address.h"

namespace tavrin {

namespace {

std::optional<Area> MoveArea(Area area, int at, int count) {
  std::optional<RowSpan> span = MoveRowSpan({area.row, area.LastRow()}, at, count);
  if (!span) return std::nullopt;
  area.row = span->first;
  area.rows = span->last - span->first + 1;
  return area;
}

// An address text with its areas moved; areas that vanish are dropped, "" when none is left.
std::string MoveAddress(const std::string& address, int at, int count) {
  std::optional<ParsedAddress> parsed = ParseAddress(address);
  if (!parsed) return address;
  std::string moved;
  for (const Area& area : parsed->areas) {
    std::optional<Area> kept = MoveArea(area, at, count);
    if (!kept) continue;
    if (!moved.empty()) moved += ",";
    moved += AreaAddress(*kept);
  }
  return moved;
}

}  // namespace

std::optional<RowSpan> MoveRowSpan(RowSpan span, int at, int count) {
  if (count > 0) {
    if (span.first >= at) span.first += count;
    if (span.last >= at) span.last = std::min(span.last + count, kLastRow);
    if (span.first > kLastRow) return std::nullopt;
    return span;
  }
  int gone = -count;
  int lastGone = at + gone - 1;
  auto below = [&](int row) { return row > lastGone ? row - gone : row; };
  int kept = (span.last - span.first + 1) -
             std::max(0, std::min(span.last, lastGone) - std::max(span.first, at) + 1);
  if (kept <= 0) return std::nullopt;
  span.first = span.first >= at && span.first <= lastGone ? at : below(span.first);
  span.last = span.first + kept - 1;
  return span;
}

void MoveLayoutRows(SheetLayout& layout, PageSetup& setup, int at, int count) {
  layout.rowFormats.Move(at, count);
  std::vector<Area> merged;
  for (const Area& area : layout.mergedCells) {
    std::optional<Area> kept = MoveArea(area, at, count);
    // A merge cut down to one cell is no merge.
    if (kept && kept->Count() > 1) merged.push_back(*kept);
  }
  layout.mergedCells = std::move(merged);

  std::vector<int> breaks;
  for (int row : layout.manualRowBreaks) {
    // A deleted row's break goes with it: its span keeps no row.
    std::optional<RowSpan> moved = MoveRowSpan({row, row}, at, count);
    if (moved && moved->first > 1) breaks.push_back(moved->first);
  }
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());
  layout.manualRowBreaks = std::move(breaks);

  if (!layout.printArea.empty()) layout.printArea = MoveAddress(layout.printArea, at, count);
  std::string titles = setup.PrintTitleRows();
  if (!titles.empty()) {
    std::string moved = MoveAddress(titles, at, count);
    if (moved != titles) setup.SetPrintTitleRows(moved);
  }
}

}  // namespace tavrin
