#include "spreadsheet/formula/sheet_calc.h"

#include <set>
#include <tuple>

#include "spreadsheet/book.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// An array formula's text in braces.
std::string Braced(std::string text, bool array) {
  return array ? "{" + text + "}" : text;
}

}  // namespace

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
  // Clearing walks every bucket, however few the entries: a caller that asks after each write
  // (a lookup between the writes of a tool) must not pay for a table once large.
  if (!results_.empty()) results_.clear();
  if (!indexedAnswers_.empty()) indexedAnswers_.clear();
  std::erase_if(indexes_, [](const auto& entry) { return !entry.second.used; });
  for (auto& [line, entry] : indexes_) entry.used = false;
}

void SheetCalc::TrustStoredValues() {
  trustedVersion_ = sheet_.ContentVersion();
}

namespace {

// Formula cells that read formula cells are computed depth first, each on the stack of the one
// that reads it. A long chain (a running total down a whole column) would take more stack than
// there is, so past a budget a cell is put off: the computation unwinds to the outermost cell,
// which computes the put-off cell first, on a fresh stack, and then tries again.
constexpr std::ptrdiff_t kStackBudget = 256 * 1024;
thread_local const char* outermostFrame = nullptr;

struct PutOff {
  SheetCalc* calc;
  int row, column;
};

std::ptrdiff_t StackUsed() {
  return outermostFrame - static_cast<const char*>(__builtin_frame_address(0));
}

// Calls f(reference) for every reference of a tree, without recursing.
template <class F>
void ForEachReference(const FormulaNode& root, F&& f) {
  std::vector<const FormulaNode*> todo{&root};
  while (!todo.empty()) {
    const FormulaNode* node = todo.back();
    todo.pop_back();
    if (node->kind == FormulaNode::Kind::Ref) f(node->ref);
    for (const FormulaNode& child : node->children) todo.push_back(&child);
  }
}

// How far a tree's references reach in rows from its cell.
FormulaReach ReachOf(const FormulaTree& tree) {
  FormulaReach reach{.anywhere = false};
  if (!tree.computable) return reach;  // never rewritten: nothing of it is read as references
  ForEachReference(tree.root, [&](const Reference& ref) {
    if (ref.shape == Reference::Shape::Columns) return;
    if (!ref.sheet.empty()) reach.anywhere = true;
    for (const RefPart* part : {&ref.row1, &ref.row2}) {
      if (part == &ref.row2 && ref.shape == Reference::Shape::Cell) break;
      if (part->absolute) {
        reach.Widen({.firstAbsolute = part->value, .lastAbsolute = part->value, .anywhere = false});
      } else {
        reach.up = std::max(reach.up, -part->value);
        reach.down = std::max(reach.down, part->value);
      }
    }
  });
  return reach;
}

uint32_t KeyOf(int row, int column) {
  return static_cast<uint32_t>(row) << 8 | static_cast<uint32_t>(column - 1);
}

}  // namespace

Variant SheetCalc::Value(int row, int column, const Cell& cell) {
  if (trustedVersion_ == sheet_.ContentVersion() && !cell.value.IsEmpty()) return cell.value;
  Refresh();
  auto found = results_.find(KeyOf(row, column));
  if (found != results_.end()) {
    const Result& result = found->second;
    return result.computing || result.waiting ? Variant(kCircular) : result.value;
  }
  if (outermostFrame == nullptr) return Outermost(row, column);
  if (StackUsed() > kStackBudget) throw PutOff{this, row, column};
  return Compute(row, column, cell);
}

// Each put-off cell waits for the one after it, which it reads through a chain of formulas; a
// waiting cell read again closes a circle and reads kCircular, so every cell waits at most once.
Variant SheetCalc::Outermost(int row, int column) {
  outermostFrame = static_cast<const char*>(__builtin_frame_address(0));
  struct Reset {
    ~Reset() { outermostFrame = nullptr; }
  } reset;
  std::vector<PutOff> pending{{this, row, column}};
  for (;;) {
    PutOff next = pending.back();
    try {
      Variant value = next.calc->ComputeAgain(next.row, next.column);
      pending.pop_back();
      if (pending.empty()) return value;
    } catch (const PutOff& off) {
      next.calc->results_[KeyOf(next.row, next.column)].waiting = true;
      off.calc->results_[KeyOf(off.row, off.column)].waiting = true;
      pending.push_back(off);
    }
  }
}

Variant SheetCalc::ComputeAgain(int row, int column) {
  Refresh();
  auto found = results_.find(KeyOf(row, column));
  if (found != results_.end() && found->second.waiting) ComputeReadsFirst(row, column);
  return Compute(row, column, *sheet_.Store().Find(row, column));
}

// A put-off cell stands at the end of a long chain: the formula cells it reads, and those they
// read, are found from an explicit stack and computed deepest first, so each reads only cells
// already computed. Cells already computed or in progress are left as they are.
void SheetCalc::ComputeReadsFirst(int row, int column) {
  struct Visit {
    SheetCalc* calc;
    int row, column;
    bool expanded;
  };
  std::vector<Visit> stack{{this, row, column, false}};
  std::set<std::tuple<const SheetCalc*, uint32_t>> seen{{this, KeyOf(row, column)}};
  while (!stack.empty()) {
    Visit visit = stack.back();
    if (visit.expanded) {
      stack.pop_back();
      if (stack.empty()) return;  // the put-off cell itself is computed by the caller
      visit.calc->Refresh();
      if (!visit.calc->results_.contains(KeyOf(visit.row, visit.column))) {
        visit.calc->Compute(visit.row, visit.column,
                            *visit.calc->sheet_.Store().Find(visit.row, visit.column));
      }
      continue;
    }
    stack.back().expanded = true;
    const Cell* cell = visit.calc->sheet_.Store().Find(visit.row, visit.column);
    TreePtr tree = TreeOf(*cell->formula, visit.row, visit.column);
    if (!tree->computable) continue;
    ForEachReference(tree->root, [&](const Reference& ref) {
      Sheet* target = ref.sheet.empty() ? &visit.calc->sheet_
                                        : visit.calc->sheet_.Parent().FindSheet(ref.sheet);
      std::optional<Area> area = ref.Resolve(visit.row, visit.column);
      if (target == nullptr || !area) return;
      SheetCalc& calc = target->Calc();
      calc.Refresh();
      for (int c = area->column; c <= area->LastColumn(); ++c) {
        target->Store().Column(c).ForEachFormula(
            area->row, area->LastRow(), [&](int r, const Cell&) {
              if (calc.results_.contains(KeyOf(r, c)) || !seen.insert({&calc, KeyOf(r, c)}).second)
                return;
              stack.push_back({&calc, r, c, false});
            });
      }
    });
  }
}

Variant SheetCalc::Compute(int row, int column, const Cell& cell) {
  uint32_t key = KeyOf(row, column);
  bool waited = results_[key].waiting;
  results_[key].computing = true;
  Variant value;
  try {
    TreePtr tree = TreeOf(*cell.formula, row, column);
    if (tree->computable) {
      Evaluator evaluator(sheet_, row, column, tree->array);
      value = evaluator.Result(tree->root);
      // Only a formula read from a file has a value of its own: the result it was stored with.
      if (evaluator.MetUnknownFunction() && !cell.value.IsEmpty()) value = cell.value;
    } else {
      value = cell.value.IsEmpty() ? Variant(ErrorValue::Name) : cell.value;
    }
  } catch (...) {
    // A cell that was put off goes on waiting; any other is computed afresh when read again.
    if (waited)
      results_[key].computing = false;
    else
      results_.erase(key);
    throw;
  }
  // The map may have grown while the formula read other formula cells.
  Result& result = results_[key];
  result.value = value;
  result.computing = false;
  result.waiting = false;
  return value;
}

namespace {

// Whether every call of a host function has as many arguments as it takes: the host refuses a
// typed formula that has not.
bool ArgumentsCounted(const FormulaNode& root) {
  std::vector<const FormulaNode*> todo{&root};
  while (!todo.empty()) {
    const FormulaNode* node = todo.back();
    todo.pop_back();
    if (node->kind == FormulaNode::Kind::Call) {
      const FunctionSpec* function = FindFunction(node->text);
      int count = static_cast<int>(node->children.size());
      if (function && (count < function->fewest || count > function->most)) return false;
    }
    for (const FormulaNode& child : node->children) todo.push_back(&child);
  }
  return true;
}

}  // namespace

TreePtr SheetCalc::Parse(const std::string& entered, Notation first, int row, int column) {
  bool array = IsArrayFormulaText(entered);
  std::string_view text = array ? std::string_view(entered).substr(1, entered.size() - 2) : entered;
  Notation second = first == Notation::A1 ? Notation::R1C1 : Notation::A1;
  std::optional<FormulaNode> root = ParseFormula(text, first, row, column);
  if (!root) root = ParseFormula(text, second, row, column);
  if (!root || !ArgumentsCounted(*root)) return nullptr;
  std::string r1c1 = Braced(WriteFormula(*root, Notation::R1C1, row, column), array);
  std::weak_ptr<const FormulaTree>& slot = trees_[r1c1];
  if (TreePtr shared = slot.lock()) return shared;
  auto tree = std::make_shared<const FormulaTree>(FormulaTree{std::move(*root), r1c1, true, array});
  slot = tree;
  if (trees_.size() > 4096)
    std::erase_if(trees_, [](const auto& entry) { return entry.second.expired(); });
  return tree;
}

FormulaPtr SheetCalc::Place(const TreePtr& tree, int row, int column) {
  if (!tree->reach) tree->reach = ReachOf(*tree);
  return std::make_shared<const CellFormula>(CellFormula{"", tree, row, column, *tree->reach});
}

TreePtr SheetCalc::TreeOf(const CellFormula& formula, int row, int column) {
  if (formula.tree) return formula.tree;
  if (formula.row != 0) row = formula.row, column = formula.column;
  bool array = IsArrayFormulaText(formula.text);
  std::string_view text = formula.text;
  if (array) text = text.substr(1, text.size() - 2);
  std::optional<FormulaNode> root = ParseFormula(text, Notation::A1, row, column, true);
  if (!root) root = ParseFormula(text, Notation::R1C1, row, column);
  FormulaTree tree;
  tree.array = array;
  if (root) {
    tree.root = std::move(*root);
    tree.r1c1 = Braced(WriteFormula(tree.root, Notation::R1C1, row, column), array);
  } else {
    tree.computable = false;
    tree.r1c1 = formula.text;
  }
  formula.tree = std::make_shared<const FormulaTree>(std::move(tree));
  return formula.tree;
}

FormulaReach SheetCalc::Reach(const TreePtr& tree) {
  if (!tree->reach) tree->reach = ReachOf(*tree);
  return *tree->reach;
}

std::string FormulaText(const CellFormula& formula, int row, int column) {
  bool standsWhereWritten = formula.row == 0 || (formula.row == row && formula.column == column);
  if (!formula.text.empty() && standsWhereWritten) return formula.text;
  TreePtr tree = SheetCalc::TreeOf(formula, row, column);
  if (!tree->computable) return formula.text;
  if (!tree->a1) tree->a1 = std::make_shared<const A1Texts>(tree->root);
  return Braced(tree->a1->At(row, column), tree->array);
}

// An index is replaced only at the first use in a later content version, after every answer
// given from it (kept by its address) was dropped with the results of its version.
const LookupIndex* SheetCalc::Index(const Area& line) {
  if (!sheet_.Parent().Parent().LookupIndexEnabled()) return nullptr;
  Refresh();
  IndexEntry& entry = indexes_[std::make_tuple(line.column, line.row, line.rows, line.columns)];
  entry.used = true;
  if (entry.index && entry.lookedAt != version_ && !entry.index->StillHolds(sheet_))
    entry.index.reset();
  entry.lookedAt = version_;
  if (!entry.index) entry.index = std::make_unique<LookupIndex>(sheet_, line);
  return entry.index.get();
}

}  // namespace tavrin
