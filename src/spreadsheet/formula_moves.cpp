#include "spreadsheet/formula_moves.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "spreadsheet/book.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/row_moves.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

class RowMove {
 public:
  RowMove(const Sheet& formulaSheet, const Sheet& moved, int at, int count)
      : own_(&formulaSheet == &moved), movedName_(moved.Name()), at_(at), count_(count) {}

  // Where a formula cell now at row stood before the move.
  int OldRow(int row) const {
    if (!own_) return row;
    if (count_ > 0) return row >= at_ + count_ ? row - count_ : row;
    return row >= at_ ? row - count_ : row;
  }

  // Whether a node read at oldRow points at rows of the moved sheet that moved or went.
  bool Reaches(const FormulaNode& node, int oldRow) const {
    for (const FormulaNode& child : node.children) {
      if (Reaches(child, oldRow)) return true;
    }
    if (node.kind != FormulaNode::Kind::Ref || node.ref.shape == Reference::Shape::Columns) {
      return false;
    }
    const Reference& ref = node.ref;
    bool intoMoved = ref.sheet.empty() ? own_ : EqualsIgnoringCase(ref.sheet, movedName_);
    int last = ref.shape == Reference::Shape::Cell
                   ? ref.row1.At(oldRow)
                   : std::max(ref.row1.At(oldRow), ref.row2.At(oldRow));
    return intoMoved && last >= at_;
  }

  // Rewrites the references of a node read at oldRow for the cell now at row; true when any
  // reference changed.
  bool Adjust(FormulaNode& node, int oldRow, int row) const {
    bool changed = false;
    for (FormulaNode& child : node.children) changed |= Adjust(child, oldRow, row);
    if (node.kind != FormulaNode::Kind::Ref) return changed;
    Reference& ref = node.ref;
    if (ref.shape == Reference::Shape::Columns) return changed;
    bool intoMoved = ref.sheet.empty() ? own_ : EqualsIgnoringCase(ref.sheet, movedName_);
    int first = ref.row1.At(oldRow);
    int last = ref.shape == Reference::Shape::Cell ? first : ref.row2.At(oldRow);
    RowSpan span{std::min(first, last), std::max(first, last)};
    if (intoMoved) {
      std::optional<RowSpan> moved = MoveRowSpan(span, at_, count_);
      if (!moved) {
        node = FormulaNode{};
        node.kind = FormulaNode::Kind::Error;
        node.error = ErrorValue::Ref;
        return true;
      }
      span = *moved;
    }
    RefPart row1 = PlacedPart(ref.row1, span.first, row);
    RefPart row2 =
        ref.shape == Reference::Shape::Cell ? row1 : PlacedPart(ref.row2, span.last, row);
    changed |= row1.value != ref.row1.value || row2.value != ref.row2.value;
    ref.row1 = row1;
    ref.row2 = row2;
    return changed;
  }

 private:
  bool own_;
  std::string movedName_;
  int at_;
  int count_;
};

// The formula cell now at (row, column) rewritten for the move, or nothing when its references
// still point where they did: a cell the move carried keeps its tree, and its text follows it.
std::optional<Cell> Rewritten(const RowMove& move, int row, int column, const Cell& cell) {
  int oldRow = move.OldRow(row);
  TreePtr tree = SheetCalc::TreeOf(*cell.formula, oldRow, column);
  // A cell that stayed changes only when it points at rows that moved.
  if (oldRow == row && !move.Reaches(tree->root, oldRow)) return std::nullopt;
  FormulaNode root = tree->root;
  if (!move.Adjust(root, oldRow, row)) return std::nullopt;
  return WithFormulaRoot(cell, root, row, column);
}

// The rows, as they stand after the move, of the formulas that may reach across it: those
// within reach above the moved rows, and those within reach below them.
std::vector<RowSpan> RowsInReach(const FormulaReach& reach, int at, int count) {
  int below = count > 0 ? at + count : at;
  return {{at - reach.down, at - 1}, {below, below + reach.up - 1}};
}

}  // namespace

Cell WithFormulaRoot(const Cell& cell, const FormulaNode& root, int row, int column) {
  Cell rewritten = cell;
  rewritten.formula = SheetCalc::Place(std::make_shared<const FormulaTree>(FormulaTree{
                                           root, WriteFormula(root, Notation::R1C1, row, column)}),
                                       row, column);
  return rewritten;
}

void MoveFormulaRows(Book& book, Sheet& moved, int at, int count) {
  for (int s = 1; s <= book.SheetCount(); ++s) {
    Sheet& sheet = book.GetSheet(s);
    RowMove move(sheet, moved, at, count);
    CellStore& store = sheet.Store();
    std::vector<FormulaRewrite> rewrites;
    auto look = [&](int row, int column, const Cell& cell) {
      if (std::optional<Cell> rewritten = Rewritten(move, row, column, cell))
        rewrites.push_back({row, column, std::move(*rewritten)});
    };
    for (int column = 1; column <= kLastColumn; ++column) {
      const CellColumn& cells = store.Column(column);
      if (cells.FormulaCount() == 0) continue;
      FormulaReach reach = cells.Reach();
      // Formulas that name no sheet reach only their own sheet: only those near the move can
      // point across it through relative rows, and all of them through an absolute row that
      // moves.
      if (!reach.anywhere && &sheet != &moved) continue;
      if (!reach.anywhere && !reach.AbsoluteWithin(at, kLastRow)) {
        for (RowSpan rows : RowsInReach(reach, at, count)) {
          cells.ForEachFormula(std::max(rows.first, 1), std::min(rows.last, kLastRow),
                               [&](int row, const Cell& cell) { look(row, column, cell); });
        }
        continue;
      }
      // Every formula is looked at, and the column's reach learnt afresh from their trees.
      FormulaReach found{.anywhere = false};
      cells.ForEachFormula(1, kLastRow, [&](int row, const Cell& cell) {
        look(row, column, cell);
        found.Widen(SheetCalc::Reach(SheetCalc::TreeOf(*cell.formula, move.OldRow(row), column)));
      });
      store.SetReach(column, found);
    }
    for (FormulaRewrite& rewrite : rewrites)
      store.Put(rewrite.row, rewrite.column, std::move(rewrite.cell));
  }
}

}  // namespace tavrin
