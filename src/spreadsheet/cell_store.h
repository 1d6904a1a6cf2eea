#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/address.h"
#include "host/variant.h"

namespace tavrin {

struct FormulaTree;

// Which rows a formula's references reach, when they all lie on the formula's own sheet: up to
// `up` rows above its own row and `down` below through relative rows, and the absolute rows
// firstAbsolute to lastAbsolute (0 for none). Anywhere: a sheet named, or not yet known.
struct FormulaReach {
  int up = 0;
  int down = 0;
  int firstAbsolute = 0;
  int lastAbsolute = 0;
  bool anywhere = true;

  // Reaches what both reach.
  void Widen(const FormulaReach& other) {
    up = std::max(up, other.up);
    down = std::max(down, other.down);
    if (other.lastAbsolute != 0) {
      firstAbsolute =
          lastAbsolute == 0 ? other.firstAbsolute : std::min(firstAbsolute, other.firstAbsolute);
      lastAbsolute = std::max(lastAbsolute, other.lastAbsolute);
    }
    anywhere = anywhere || other.anywhere;
  }
  // Whether an absolute row lies in the rows first to last.
  bool AbsoluteWithin(int first, int last) const {
    return lastAbsolute != 0 && lastAbsolute >= first && firstAbsolute <= last;
  }
};

// A cell's formula: its A1 text as written in the cell (row, column) ("=" first), and its parsed
// tree, relative to the cell and shared by every cell that holds the same relative formula, with
// the tree's reach. A text read from a file comes without a tree; the formula engine parses it
// where it was written on first use. A formula the engine placed (a fill, a write) comes without
// a text, and rows moving a formula cell leave its text as written: the text where the cell
// stands now is FormulaText's, made from the tree. Row and column 0: written where it stands.
struct CellFormula {
  CellFormula(std::string a1Text, std::shared_ptr<const FormulaTree> parsed = nullptr,
              int writtenRow = 0, int writtenColumn = 0, FormulaReach treeReach = {})
      : text(std::move(a1Text)),
        tree(std::move(parsed)),
        row(writtenRow),
        column(writtenColumn),
        reach(treeReach) {}

  std::string text;
  mutable std::shared_ptr<const FormulaTree> tree;
  int row;
  int column;
  FormulaReach reach;
};
using FormulaPtr = std::shared_ptr<const CellFormula>;

// The formula's A1 text in the cell (row, column) where it stands: as written there, or, when
// rows moved the cell since, as its references read from there.
std::string FormulaText(const CellFormula& formula, int row, int column);

// A cell: its value (a formula's result for a formula cell), its formula and its style index
// (0 is the default style). A cell with only a style holds no content.
struct Cell {
  Variant value;
  FormulaPtr formula;
  uint32_t style = 0;

  bool HasContent() const { return formula != nullptr || !value.IsEmpty(); }
  bool IsBlank() const { return !HasContent() && style == 0; }
};

// What Clear removes.
enum class ClearPart { Contents, Formats, All };

// The cells of one column: a sorted list of dense segments (a first row and its cells). Appending
// rows grows the last segment; a segment never grows past kSegmentCells, so a row insertion or
// deletion edits one segment and shifts the first rows of the later ones. Every count and search
// walks stored cells only, never empty rows.
class CellColumn {
 public:
  static constexpr int kSegmentCells = 512;

  const Cell* Find(int row) const;
  // The cell becomes the given one; a blank cell is removed.
  void Put(int row, Cell cell);
  void Clear(int firstRow, int lastRow, ClearPart part);

  int ContentCount() const { return contentCount_; }
  // The formulas are counted by segment, so that they are found without walking every cell.
  int FormulaCount() const { return formulaCount_; }
  // Calls visit(row, cell) for every formula cell of the rows, top to bottom.
  template <class Visit>
  void ForEachFormula(int firstRow, int lastRow, Visit&& visit) const {
    for (size_t s = SegmentFrom(firstRow); s < segments_.size(); ++s) {
      const Segment& segment = segments_[s];
      if (segment.firstRow > lastRow) break;
      if (segment.formulaCount == 0) continue;
      int from = std::max(firstRow, segment.firstRow) - segment.firstRow;
      int to = std::min(lastRow, segment.LastRow()) - segment.firstRow;
      for (int i = from; i <= to; ++i) {
        if (segment.cells[i].formula) visit(segment.firstRow + i, segment.cells[i]);
      }
    }
  }
  // How far the column's formulas reach: at least as far as any of them, so that rows moving
  // need look only at the formulas that may reach across them. Only written formulas widen it.
  const FormulaReach& Reach() const { return reach_; }
  void SetReach(const FormulaReach& reach) { reach_ = reach; }
  int ContentCount(int firstRow, int lastRow) const;
  // The first row at or below the given one holding content, 0 when none.
  int NextContent(int row) const;
  // The last row at or above the given one holding content, 0 when none.
  int PreviousContent(int row) const;
  // The first and the last row holding a cell that is not blank (content or a format), 0 when
  // none.
  int FirstNotBlank() const;
  int LastNotBlank() const;
  // From a row holding content, the last row of the unbroken run of content going down
  // (step 1) or up (step -1).
  int RunEnd(int row, int step) const;

  // Calls visit(row, cell) for every stored cell of the rows, top to bottom.
  template <class Visit>
  void ForEach(int firstRow, int lastRow, Visit&& visit) const {
    for (size_t s = SegmentFrom(firstRow); s < segments_.size(); ++s) {
      const Segment& segment = segments_[s];
      if (segment.firstRow > lastRow) break;
      int from = std::max(firstRow, segment.firstRow) - segment.firstRow;
      int to = std::min(lastRow, segment.LastRow()) - segment.firstRow;
      for (int i = from; i <= to; ++i) visit(segment.firstRow + i, segment.cells[i]);
    }
  }

  void InsertRows(int at, int count);
  void DeleteRows(int at, int count);
  int SegmentCount() const { return static_cast<int>(segments_.size()); }

 private:
  struct Segment {
    int firstRow = 1;
    int contentCount = 0;
    int formulaCount = 0;
    std::vector<Cell> cells;
    int LastRow() const { return firstRow + static_cast<int>(cells.size()) - 1; }
  };

  // The index of the segment holding the row, or of the first segment after it.
  size_t SegmentFrom(int row) const;
  // The segment holding the row, made to hold it if needed.
  Segment& Obtain(int row);
  // Drops blank cells at a segment's ends and segments left empty.
  void Trim(size_t index);
  void TruncateAt(int lastRow);
  // Takes the cells of a segment out of the counts (lost) or back in.
  void Count(Segment& segment, std::vector<Cell>::const_iterator first,
             std::vector<Cell>::const_iterator last, int sign);

  std::vector<Segment> segments_;
  int contentCount_ = 0;
  int formulaCount_ = 0;
  FormulaReach reach_{.anywhere = false};
};

// The cells of a sheet, 65536 rows by 256 columns, stored sparsely by column. Every change moves
// the version on, so caches can key on it.
class CellStore {
 public:
  const Cell* Find(int row, int column) const { return columns_[column - 1].Find(row); }
  bool HasContent(int row, int column) const;
  void Put(int row, int column, Cell cell);
  // Sets value and formula and keeps the style.
  void SetContent(int row, int column, Variant value, FormulaPtr formula);
  void SetStyle(int row, int column, uint32_t style);
  void Clear(const Area& area, ClearPart part);

  // Cells holding content in the area, counted from the stored cells.
  long long ContentCount(const Area& area) const;
  const CellColumn& Column(int column) const { return columns_[column - 1]; }
  // Sets what the column's formulas reach, as found from all of them.
  void SetReach(int column, const FormulaReach& reach) { columns_[column - 1].SetReach(reach); }

  // Calls visit(row, column, cell) for every stored cell of the area, column by column.
  template <class Visit>
  void ForEach(const Area& area, Visit&& visit) const {
    for (int c = area.column; c <= area.LastColumn(); ++c) {
      columns_[c - 1].ForEach(area.row, area.LastRow(),
                              [&](int row, const Cell& cell) { visit(row, c, cell); });
    }
  }

  // Moves the rows from at down by count; cells pushed past the last row are lost.
  void InsertRows(int at, int count);
  // Removes the rows at to at + count - 1; the rows below move up.
  void DeleteRows(int at, int count);

  uint64_t Version() const { return version_; }
  // A stamp that changes with every write to the column, unique across all stores, so a cache
  // of one column's content stays valid while other columns are written. 0: never written.
  uint64_t ColumnVersion(int column) const { return columnVersions_[column - 1]; }
  // Whether the column holds what it holds in the other store, known from the stamps alone: a
  // copy of a store keeps its stamps, so this holds while neither column was written since one
  // was copied from the other (or both were never written). False says only "maybe not".
  bool SameColumnAs(const CellStore& other, int column) const {
    return ColumnVersion(column) == other.ColumnVersion(column);
  }

 private:
  void Stamp(int firstColumn, int lastColumn);

  std::array<CellColumn, kLastColumn> columns_;
  std::array<uint64_t, kLastColumn> columnVersions_{};
  uint64_t version_ = 0;
};

}  // namespace tavrin
