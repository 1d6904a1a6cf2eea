#include <algorithm>
#include <optional>

#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// SUMPRODUCT of a product of equality factors (a column range against one value) and an
// optional last column range of values, answered from the lookup indexes: the rows matching
// the rarest key, kept when they match the others, their values summed. Nothing when the
// argument has another shape or the data hold what the index cannot answer (errors, texts
// among the values), which the general rule then computes.
std::optional<Variant> IndexedSumProduct(Evaluator& eval, const FormulaNode& arg) {
  std::vector<const FormulaNode*> factors;
  const FormulaNode* node = &Unwrapped(arg);
  while (node->kind == FormulaNode::Kind::Binary && node->op == Op::Multiply) {
    factors.insert(factors.begin(), &Unwrapped(node->children[1]));
    node = &Unwrapped(node->children[0]);
  }
  factors.insert(factors.begin(), node);
  if (factors.size() < 2) return std::nullopt;
  auto column = [&](const FormulaNode& ref, int rows) -> const LookupIndex* {
    if (ref.kind != FormulaNode::Kind::Ref) return nullptr;
    RangeRef range{};
    Variant error;
    if (!eval.RangeOf(ref, range, error) || range.area.columns != 1 || range.area.rows < 2 ||
        (rows > 0 && range.area.rows != rows))
      return nullptr;
    return range.sheet->Calc().Index(range.area);
  };
  std::vector<std::pair<const LookupIndex*, LookupIndex::Key>> conditions;
  const LookupIndex* values = nullptr;
  int rows = 0;
  for (size_t i = 0; i < factors.size(); ++i) {
    const FormulaNode& factor = *factors[i];
    if (factor.kind == FormulaNode::Kind::Binary && factor.op == Op::Equal) {
      const FormulaNode& left = Unwrapped(factor.children[0]);
      const LookupIndex* index = column(left, rows);
      if (index == nullptr || index->HasError()) return std::nullopt;
      rows = index->Size();
      Operand key = eval.Eval(factor.children[1]);
      const Variant* value = std::get_if<Variant>(&key);
      if (value == nullptr || value->IsError()) return std::nullopt;
      conditions.emplace_back(index, index->KeyOf(*value));
    } else if (i + 1 == factors.size() && !conditions.empty()) {
      values = column(factor, rows);
      if (values == nullptr || values->HasError() || values->HasText()) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  IndexedQuestion question;
  question.equalities = std::move(conditions);
  question.values = values;
  auto& answers = eval.OwnSheet().Calc().IndexedAnswers();
  if (auto answered = answers.find(question); answered != answers.end()) return answered->second;
  // The rows matching the rarest key, kept when they match the others.
  const auto& equalities = question.equalities;
  auto rarest = std::min_element(equalities.begin(), equalities.end(), [](auto& a, auto& b) {
    return a.first->Count(a.second) < b.first->Count(b.second);
  });
  std::vector<int> positions;
  rarest->first->Positions(rarest->second, positions);
  double sum = 0;
  for (int position : positions) {
    bool all = true;
    for (auto c = equalities.begin(); c != equalities.end() && all; ++c)
      all = c == rarest || c->first->Equal(position, c->second);
    if (all) sum += values ? values->Number(position) : 1;
  }
  answers.emplace(std::move(question), Variant(sum));
  return Variant(sum);
}

Operand SumProduct(Evaluator& eval, const Args& args) {
  if (args.size() == 1) {
    if (std::optional<Variant> indexed = IndexedSumProduct(eval, args[0])) return *indexed;
  }
  std::vector<std::shared_ptr<const Matrix>> arrays;
  for (const FormulaNode& arg : args) {
    arrays.push_back(eval.Array(eval.EvalArray(arg)));
    if (arrays.back()->rows != arrays.front()->rows ||
        arrays.back()->columns != arrays.front()->columns)
      return Variant(ErrorValue::Value);
  }
  // Rows from the last stored one of any array on are all alike: their product counts once for
  // each of them.
  int stored = 0;
  for (const auto& array : arrays) stored = std::max(stored, array->StoredRows());
  const Matrix& shape = *arrays.front();
  double sum = 0;
  for (int r = 0; r < std::min(stored + 1, shape.rows); ++r) {
    double times = r < stored ? 1 : shape.rows - stored;
    for (int c = 0; c < shape.columns; ++c) {
      double product = times;
      for (const auto& array : arrays) {
        const Variant& value = array->At(r, c);
        if (value.IsError()) return value;
        product *= value.IsNumber() || value.IsDate() ? value.AsNumber() : 0;
      }
      sum += product;
    }
  }
  return Variant(sum);
}

// TRANSPOSE: rows become columns.
Operand Transpose(Evaluator& eval, const Args& args) {
  Operand operand = eval.EvalArray(args[0]);
  if (std::holds_alternative<Variant>(operand)) return operand;
  std::shared_ptr<const Matrix> in = eval.Array(operand);
  return Evaluator::MakeMatrix(in->columns, in->rows, in->columns,
                               [&](int r, int c) { return in->At(c, r); });
}

}  // namespace

void AddArrayFunctions(FunctionTable& table) {
  table["SUMPRODUCT"] = {SumProduct, 1, kMaxArguments};
  table["TRANSPOSE"] = {Transpose, 1, 1};
}

}  // namespace tavrin
