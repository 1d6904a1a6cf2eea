#include "spreadsheet/formula/sheet_calc.h"

#include "spreadsheet/book.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

uint64_t SheetCalc::WorkbookVersion() const {
  // Versions only grow, so their sum moves whenever any sheet is written.
  Book& book = sheet_.Parent();
  uint64_t sum = static_cast<uint64_t>(book.SheetCount()) << 48;
  for (int i = 1; i <= book.SheetCount(); ++i) sum += book.GetSheet(i).ContentVersion();
  return sum;
}

void SheetCalc::Refresh() {
  uint64_t version = WorkbookVersion();
  if (version == version_) return;
  version_ = version;
  results_.clear();
  indexes_.clear();
  indexedSums_.clear();
}

void SheetCalc::TrustStoredValues() {
  trustedVersion_ = sheet_.ContentVersion();
}

Variant SheetCalc::Value(int row, int column, const Cell& cell) {
  if (trustedVersion_ == sheet_.ContentVersion() && !cell.value.IsEmpty()) return cell.value;
  Refresh();
  uint32_t key = static_cast<uint32_t>(row) << 8 | static_cast<uint32_t>(column - 1);
  auto [found, added] = results_.try_emplace(key);
  if (!added) return found->second.computing ? Variant(ErrorValue::Ref) : found->second.value;
  found->second.computing = true;
  TreePtr tree = TreeOf(*cell.formula, row, column);
  Variant value = Evaluator(sheet_, row, column).Result(tree->root);
  // The map may have grown while the formula read other formula cells.
  Result& result = results_[key];
  result.value = value;
  result.computing = false;
  return value;
}

TreePtr SheetCalc::Parse(const std::string& text, Notation first, int row, int column) {
  Notation second = first == Notation::A1 ? Notation::R1C1 : Notation::A1;
  std::optional<FormulaNode> root = ParseFormula(text, first, row, column);
  if (!root) root = ParseFormula(text, second, row, column);
  if (!root) return nullptr;
  std::string r1c1 = WriteFormula(*root, Notation::R1C1, row, column);
  std::weak_ptr<const FormulaTree>& slot = trees_[r1c1];
  if (TreePtr shared = slot.lock()) return shared;
  auto tree = std::make_shared<const FormulaTree>(FormulaTree{std::move(*root), r1c1});
  slot = tree;
  if (trees_.size() > 4096)
    std::erase_if(trees_, [](const auto& entry) { return entry.second.expired(); });
  return tree;
}

FormulaPtr SheetCalc::Place(const TreePtr& tree, int row, int column) {
  return std::make_shared<const CellFormula>(
      CellFormula{WriteFormula(tree->root, Notation::A1, row, column), tree});
}

TreePtr SheetCalc::TreeOf(const CellFormula& formula, int row, int column) {
  if (formula.tree) return formula.tree;
  std::optional<FormulaNode> root = ParseFormula(formula.text, Notation::A1, row, column);
  if (!root) root = ParseFormula(formula.text, Notation::R1C1, row, column);
  FormulaTree tree;
  if (root) {
    tree.root = std::move(*root);
    tree.r1c1 = WriteFormula(tree.root, Notation::R1C1, row, column);
  } else {
    tree.root.kind = FormulaNode::Kind::Error;
    tree.root.error = ErrorValue::Name;
    tree.r1c1 = formula.text;
  }
  formula.tree = std::make_shared<const FormulaTree>(std::move(tree));
  return formula.tree;
}

const ColumnIndex* SheetCalc::Index(const Area& column) {
  if (!sheet_.Parent().Parent().LookupIndexEnabled()) return nullptr;
  Refresh();
  auto key = std::make_tuple(column.column, column.row, column.rows);
  std::unique_ptr<ColumnIndex>& index = indexes_[key];
  if (!index) index = std::make_unique<ColumnIndex>(sheet_, column);
  return index.get();
}

}  // namespace tavrin
