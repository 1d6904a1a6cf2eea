#include "spreadsheet/formula_cuts.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "spreadsheet/book.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/formula_moves.h"
#include "spreadsheet/row_moves.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

class CutMove {
 public:
  CutMove(const Sheet& formulaSheet, const Sheet& cutSheet, const Area& cut, int row, int column)
      : own_(&formulaSheet == &cutSheet),
        cutName_(cutSheet.Name()),
        cut_(cut),
        pasted_{row, column, cut.rows, cut.columns},
        rows_(row - cut.row),
        columns_(column - cut.column) {}

  // Rewrites the references of a node read in the cell (oldRow, oldColumn) for the cell now at
  // (row, column): a reference into the cut area follows its cells, one into the cells pasted
  // over becomes #REF!, any other keeps its cells. True when any changed.
  bool Adjust(FormulaNode& node, int oldRow, int oldColumn, int row, int column) const {
    bool changed = false;
    for (FormulaNode& child : node.children)
      changed |= Adjust(child, oldRow, oldColumn, row, column);
    if (node.kind != FormulaNode::Kind::Ref) return changed;
    Reference& ref = node.ref;
    bool follows = Within(ref, oldRow, oldColumn, cut_);
    if (!follows && Within(ref, oldRow, oldColumn, pasted_)) {
      // The cells it pointed at were pasted over.
      node = FormulaNode{};
      node.kind = FormulaNode::Kind::Error;
      node.error = ErrorValue::Ref;
      return true;
    }
    int down = follows ? rows_ : 0, across = follows ? columns_ : 0;
    Reference placed = ref;
    // A cell's second corner is its first, so both corners are placed whatever the shape.
    if (ref.shape != Reference::Shape::Columns) {
      placed.row1 = PlacedPart(ref.row1, ref.row1.At(oldRow) + down, row);
      placed.row2 = PlacedPart(ref.row2, ref.row2.At(oldRow) + down, row);
    }
    if (ref.shape != Reference::Shape::Rows) {
      placed.column1 = PlacedPart(ref.column1, ref.column1.At(oldColumn) + across, column);
      placed.column2 = PlacedPart(ref.column2, ref.column2.At(oldColumn) + across, column);
    }
    changed |= placed.row1.value != ref.row1.value || placed.row2.value != ref.row2.value ||
               placed.column1.value != ref.column1.value ||
               placed.column2.value != ref.column2.value;
    ref = placed;
    return changed;
  }

 private:
  // Whether a reference read in the cell lies wholly in an area of the cut sheet.
  bool Within(const Reference& ref, int row, int column, const Area& area) const {
    if (ref.shape == Reference::Shape::Columns || ref.shape == Reference::Shape::Rows) return false;
    bool onCutSheet = ref.sheet.empty() ? own_ : EqualsIgnoringCase(ref.sheet, cutName_);
    std::optional<Area> target = ref.Resolve(row, column);
    return onCutSheet && target && target->row >= area.row && target->LastRow() <= area.LastRow() &&
           target->column >= area.column && target->LastColumn() <= area.LastColumn();
  }

  bool own_;
  std::string cutName_;
  Area cut_;
  Area pasted_;
  int rows_;
  int columns_;
};

// The formula cell rewritten for the cut, read where it stood and placed where it stands, or
// nothing when its references are as they were.
std::optional<Cell> CutRewritten(const CutMove& move, int oldRow, int oldColumn, int row,
                                 int column, const Cell& cell) {
  TreePtr tree = SheetCalc::TreeOf(*cell.formula, oldRow, oldColumn);
  if (!tree->computable) return std::nullopt;
  FormulaNode root = tree->root;
  if (!move.Adjust(root, oldRow, oldColumn, row, column)) return std::nullopt;
  return WithFormulaRoot(cell, root, row, column);
}

// The spans within the sheet's rows, sorted, those that overlap or touch joined.
std::vector<RowSpan> Merged(std::vector<RowSpan> spans) {
  std::sort(spans.begin(), spans.end(),
            [](const RowSpan& a, const RowSpan& b) { return a.first < b.first; });
  std::vector<RowSpan> merged;
  for (RowSpan span : spans) {
    span = {std::max(span.first, 1), std::min(span.last, kLastRow)};
    if (span.first > span.last) continue;
    if (!merged.empty() && span.first <= merged.back().last + 1) {
      merged.back().last = std::max(merged.back().last, span.last);
    } else {
      merged.push_back(span);
    }
  }
  return merged;
}

}  // namespace

void MoveFormulaCut(Book& book, Sheet& sheet, const Area& cut, int row, int column) {
  Area pasted{row, column, cut.rows, cut.columns};
  for (int s = 1; s <= book.SheetCount(); ++s) {
    Sheet& other = book.GetSheet(s);
    CutMove move(other, sheet, cut, row, column);
    CellStore& store = other.Store();
    std::vector<FormulaRewrite> rewrites;
    for (int c = 1; c <= kLastColumn; ++c) {
      const CellColumn& cells = store.Column(c);
      if (cells.FormulaCount() == 0) continue;
      const FormulaReach& reach = cells.Reach();
      if (&other != &sheet && !reach.anywhere) continue;
      auto look = [&](int r, const Cell& cell) {
        bool moved = &other == &sheet && pasted.Contains(r, c);
        int oldRow = moved ? r - pasted.row + cut.row : r;
        int oldColumn = moved ? c - pasted.column + cut.column : c;
        if (std::optional<Cell> rewritten = CutRewritten(move, oldRow, oldColumn, r, c, cell))
          rewrites.push_back({r, c, std::move(*rewritten)});
      };
      // Only formulas within reach of the cut rows or the pasted rows can point into them; the
      // moved ones, in the pasted rows, are all looked at.
      std::vector<RowSpan> spans = {{1, kLastRow}};
      if (!reach.anywhere && !reach.AbsoluteWithin(cut.row, cut.LastRow()) &&
          !reach.AbsoluteWithin(pasted.row, pasted.LastRow())) {
        spans = {{cut.row - reach.down, cut.LastRow() + reach.up},
                 {pasted.row - reach.down, pasted.LastRow() + reach.up}};
      }
      for (RowSpan rows : Merged(std::move(spans)))
        cells.ForEachFormula(rows.first, rows.last, look);
    }
    for (FormulaRewrite& rewrite : rewrites)
      store.Put(rewrite.row, rewrite.column, std::move(rewrite.cell));
  }
}

}  // namespace tavrin
