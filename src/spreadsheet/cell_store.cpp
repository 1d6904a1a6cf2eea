#include "spreadsheet/cell_store.h"

#include <atomic>
#include <iterator>

namespace tavrin {

namespace {

// A write this close to a segment's end joins the segment, the rows between held as blank
// cells, so a list written with a few gaps stays in few segments.
constexpr int kJoinGap = 16;

int CountContent(std::vector<Cell>::const_iterator first, std::vector<Cell>::const_iterator last) {
  return static_cast<int>(std::count_if(first, last, [](const Cell& c) { return c.HasContent(); }));
}

}  // namespace

void CellColumn::Count(Segment& segment, std::vector<Cell>::const_iterator first,
                       std::vector<Cell>::const_iterator last, int sign) {
  for (auto cell = first; cell != last; ++cell) {
    int content = sign * static_cast<int>(cell->HasContent());
    int formula = sign * static_cast<int>(cell->formula != nullptr);
    segment.contentCount += content;
    contentCount_ += content;
    segment.formulaCount += formula;
    formulaCount_ += formula;
  }
}

size_t CellColumn::SegmentFrom(int row) const {
  auto it = std::partition_point(segments_.begin(), segments_.end(),
                                 [row](const Segment& s) { return s.LastRow() < row; });
  return static_cast<size_t>(it - segments_.begin());
}

const Cell* CellColumn::Find(int row) const {
  size_t s = SegmentFrom(row);
  if (s == segments_.size() || segments_[s].firstRow > row) return nullptr;
  return &segments_[s].cells[row - segments_[s].firstRow];
}

CellColumn::Segment& CellColumn::Obtain(int row) {
  size_t s = SegmentFrom(row);
  if (s < segments_.size() && segments_[s].firstRow <= row) return segments_[s];
  if (s > 0) {
    Segment& before = segments_[s - 1];
    size_t grown = static_cast<size_t>(row - before.firstRow + 1);
    if (row - before.LastRow() <= kJoinGap && grown <= kSegmentCells) {
      before.cells.resize(grown);
      return before;
    }
  }
  if (s < segments_.size()) {
    Segment& after = segments_[s];
    size_t added = static_cast<size_t>(after.firstRow - row);
    if (static_cast<int>(added) <= kJoinGap && after.cells.size() + added <= kSegmentCells) {
      after.cells.insert(after.cells.begin(), added, Cell{});
      after.firstRow = row;
      return after;
    }
  }
  Segment fresh;
  fresh.firstRow = row;
  fresh.cells.resize(1);
  return *segments_.insert(segments_.begin() + static_cast<long>(s), std::move(fresh));
}

void CellColumn::Trim(size_t index) {
  Segment& segment = segments_[index];
  auto notBlank = [](const Cell& c) { return !c.IsBlank(); };
  auto last = std::find_if(segment.cells.rbegin(), segment.cells.rend(), notBlank);
  segment.cells.erase(last.base(), segment.cells.end());
  auto first = std::find_if(segment.cells.begin(), segment.cells.end(), notBlank);
  segment.firstRow += static_cast<int>(first - segment.cells.begin());
  segment.cells.erase(segment.cells.begin(), first);
  if (segment.cells.empty()) segments_.erase(segments_.begin() + static_cast<long>(index));
}

void CellColumn::Put(int row, Cell cell) {
  if (cell.IsBlank()) {
    size_t s = SegmentFrom(row);
    if (s == segments_.size() || segments_[s].firstRow > row) return;
    auto old = segments_[s].cells.begin() + (row - segments_[s].firstRow);
    Count(segments_[s], old, old + 1, -1);
    *old = Cell{};
    Trim(s);
    return;
  }
  if (cell.formula) reach_.Widen(cell.formula->reach);
  Segment& segment = Obtain(row);
  auto target = segment.cells.begin() + (row - segment.firstRow);
  Count(segment, target, target + 1, -1);
  *target = std::move(cell);
  Count(segment, target, target + 1, 1);
}

void CellColumn::Clear(int firstRow, int lastRow, ClearPart part) {
  size_t first = SegmentFrom(firstRow);
  size_t last = first;
  for (; last < segments_.size() && segments_[last].firstRow <= lastRow; ++last) {
    Segment& segment = segments_[last];
    int from = std::max(firstRow, segment.firstRow) - segment.firstRow;
    int to = std::min(lastRow, segment.LastRow()) - segment.firstRow;
    for (auto cell = segment.cells.begin() + from; cell <= segment.cells.begin() + to; ++cell) {
      Count(segment, cell, cell + 1, -1);
      if (part != ClearPart::Formats) {
        cell->value = Variant();
        cell->formula.reset();
      }
      if (part != ClearPart::Contents) cell->style = 0;
      Count(segment, cell, cell + 1, 1);
    }
  }
  for (size_t s = last; s > first; --s) Trim(s - 1);
}

int CellColumn::ContentCount(int firstRow, int lastRow) const {
  int count = 0;
  for (size_t s = SegmentFrom(firstRow); s < segments_.size(); ++s) {
    const Segment& segment = segments_[s];
    if (segment.firstRow > lastRow) break;
    if (segment.firstRow >= firstRow && segment.LastRow() <= lastRow) {
      count += segment.contentCount;
      continue;
    }
    int from = std::max(firstRow, segment.firstRow) - segment.firstRow;
    int to = std::min(lastRow, segment.LastRow()) - segment.firstRow;
    count += CountContent(segment.cells.begin() + from, segment.cells.begin() + to + 1);
  }
  return count;
}

int CellColumn::NextContent(int row) const {
  for (size_t s = SegmentFrom(row); s < segments_.size(); ++s) {
    const Segment& segment = segments_[s];
    if (segment.contentCount == 0) continue;
    for (int i = std::max(row, segment.firstRow) - segment.firstRow;
         i < static_cast<int>(segment.cells.size()); ++i) {
      if (segment.cells[i].HasContent()) return segment.firstRow + i;
    }
  }
  return 0;
}

int CellColumn::PreviousContent(int row) const {
  size_t s = SegmentFrom(row);
  if (s == segments_.size() || segments_[s].firstRow > row) {
    if (s == 0) return 0;
    --s;
  }
  for (size_t k = s + 1; k > 0; --k) {
    const Segment& segment = segments_[k - 1];
    if (segment.contentCount == 0) continue;
    for (int i = std::min(row, segment.LastRow()) - segment.firstRow; i >= 0; --i) {
      if (segment.cells[i].HasContent()) return segment.firstRow + i;
    }
  }
  return 0;
}

int CellColumn::FirstNotBlank() const {
  for (const Segment& segment : segments_) {
    auto cell = std::find_if(segment.cells.begin(), segment.cells.end(),
                             [](const Cell& c) { return !c.IsBlank(); });
    if (cell != segment.cells.end())
      return segment.firstRow + static_cast<int>(cell - segment.cells.begin());
  }
  return 0;
}

int CellColumn::LastNotBlank() const {
  for (auto segment = segments_.rbegin(); segment != segments_.rend(); ++segment) {
    auto cell = std::find_if(segment->cells.rbegin(), segment->cells.rend(),
                             [](const Cell& c) { return !c.IsBlank(); });
    if (cell != segment->cells.rend())
      return segment->LastRow() - static_cast<int>(cell - segment->cells.rbegin());
  }
  return 0;
}

int CellColumn::RunEnd(int row, int step) const {
  size_t s = SegmentFrom(row);
  int current = row;
  while (s < segments_.size()) {
    const Segment& segment = segments_[s];
    int next = current + step;
    if (next >= segment.firstRow && next <= segment.LastRow()) {
      if (!segment.cells[next - segment.firstRow].HasContent()) break;
      current = next;
    } else if (step > 0 && s + 1 < segments_.size() && segments_[s + 1].firstRow == next) {
      ++s;
    } else if (step < 0 && s > 0 && segments_[s - 1].LastRow() == next) {
      --s;
    } else {
      break;
    }
  }
  return current;
}

void CellColumn::InsertRows(int at, int count) {
  size_t s = SegmentFrom(at);
  if (s < segments_.size() && segments_[s].firstRow < at) {
    // The segment splits at the row; the smaller part moves into a segment of its own.
    Segment& whole = segments_[s];
    auto cut = whole.cells.begin() + (at - whole.firstRow);
    bool headMoves = cut - whole.cells.begin() < whole.cells.end() - cut;
    Segment part;
    part.firstRow = headMoves ? whole.firstRow : at;
    auto first = headMoves ? whole.cells.begin() : cut;
    auto last = headMoves ? cut : whole.cells.end();
    part.cells.assign(std::make_move_iterator(first), std::make_move_iterator(last));
    whole.cells.erase(first, last);
    // The moved cells change segments, not columns: their counts go with them.
    Count(part, part.cells.begin(), part.cells.end(), 1);
    Count(whole, part.cells.begin(), part.cells.end(), -1);
    if (headMoves) whole.firstRow = at;
    segments_.insert(segments_.begin() + static_cast<long>(s + (headMoves ? 0 : 1)),
                     std::move(part));
    ++s;
  }
  for (size_t k = s; k < segments_.size(); ++k) segments_[k].firstRow += count;
  TruncateAt(kLastRow);
}

void CellColumn::TruncateAt(int lastRow) {
  while (!segments_.empty() && segments_.back().firstRow > lastRow) {
    contentCount_ -= segments_.back().contentCount;
    formulaCount_ -= segments_.back().formulaCount;
    segments_.pop_back();
  }
  if (segments_.empty() || segments_.back().LastRow() <= lastRow) return;
  Segment& segment = segments_.back();
  auto cut = segment.cells.begin() + (lastRow - segment.firstRow + 1);
  Count(segment, cut, segment.cells.end(), -1);
  segment.cells.erase(cut, segment.cells.end());
  Trim(segments_.size() - 1);
}

void CellColumn::DeleteRows(int at, int count) {
  int end = at + count - 1;
  size_t s = SegmentFrom(at);
  while (s < segments_.size()) {
    Segment& segment = segments_[s];
    if (segment.firstRow > end) {
      segment.firstRow -= count;
      ++s;
      continue;
    }
    auto from = segment.cells.begin() + (std::max(at, segment.firstRow) - segment.firstRow);
    auto to = segment.cells.begin() + (std::min(end, segment.LastRow()) - segment.firstRow + 1);
    Count(segment, from, to, -1);
    segment.cells.erase(from, to);
    segment.firstRow = std::min(segment.firstRow, at);
    if (segment.cells.empty()) {
      segments_.erase(segments_.begin() + static_cast<long>(s));
    } else {
      ++s;
    }
  }
}

bool CellStore::HasContent(int row, int column) const {
  const Cell* cell = Find(row, column);
  return cell != nullptr && cell->HasContent();
}

void CellStore::Stamp(int firstColumn, int lastColumn) {
  static std::atomic<uint64_t> stamps{0};
  uint64_t stamp = ++stamps;
  for (int c = firstColumn; c <= lastColumn; ++c) columnVersions_[c - 1] = stamp;
  ++version_;
}

void CellStore::Put(int row, int column, Cell cell) {
  columns_[column - 1].Put(row, std::move(cell));
  Stamp(column, column);
}

void CellStore::SetContent(int row, int column, Variant value, FormulaPtr formula) {
  const Cell* old = Find(row, column);
  Put(row, column, Cell{std::move(value), std::move(formula), old ? old->style : 0});
}

void CellStore::SetStyle(int row, int column, uint32_t style) {
  const Cell* old = Find(row, column);
  Cell cell = old ? *old : Cell{};
  cell.style = style;
  Put(row, column, std::move(cell));
}

void CellStore::Clear(const Area& area, ClearPart part) {
  for (int c = area.column; c <= area.LastColumn(); ++c) {
    columns_[c - 1].Clear(area.row, area.LastRow(), part);
  }
  Stamp(area.column, area.LastColumn());
}

long long CellStore::ContentCount(const Area& area) const {
  long long count = 0;
  for (int c = area.column; c <= area.LastColumn(); ++c) {
    const CellColumn& column = columns_[c - 1];
    count += area.IsWholeColumns() ? column.ContentCount()
                                   : column.ContentCount(area.row, area.LastRow());
  }
  return count;
}

void CellStore::InsertRows(int at, int count) {
  for (CellColumn& column : columns_) column.InsertRows(at, count);
  Stamp(1, kLastColumn);
}

void CellStore::DeleteRows(int at, int count) {
  for (CellColumn& column : columns_) column.DeleteRows(at, count);
  Stamp(1, kLastColumn);
}

}  // namespace tavrin
