#include <algorithm>

#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

// AND and OR: Booleans and numbers count, texts and empty cells in ranges do not.
template <bool kAnd>
Operand Logical(Evaluator& eval, const Args& args) {
  Variant error;
  bool any = false, result = kAnd;
  ForEachArgument(eval, args, [&](const Variant& value, bool fromCells) {
    if (value.IsError()) return error = value, false;
    if (value.IsEmpty() || (value.IsText() && fromCells)) return true;
    Variant number = ToNumber(value);
    if (number.IsError()) return error = number, false;
    any = true;
    bool truth = number.AsNumber() != 0;
    result = kAnd ? (result && truth) : (result || truth);
    return true;
  });
  if (error.IsError()) return error;
  return any ? Variant::Boolean(result) : Variant(ErrorValue::Value);
}

Operand Not(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    Variant x = ToNumber(values[0]);
    return x.IsError() ? x : Variant::Boolean(x.AsNumber() == 0);
  });
}

template <bool kTruth>
Operand Constant(Evaluator&, const Args&) {
  return Variant::Boolean(kTruth);
}

Operand If(Evaluator& eval, const Args& args) {
  Operand condition = eval.Eval(args[0]);
  auto pick = [](const Variant& test, const Variant& yes, const Variant& no) {
    if (test.IsError()) return test;
    Variant number = ToNumber(test);
    if (number.IsError()) return number;
    return number.AsNumber() != 0 ? yes : no;
  };
  auto branch = [&](size_t i) -> Operand {
    if (i >= args.size()) return Variant::Boolean(i == 1);
    if (args[i].kind == FormulaNode::Kind::Missing) return Variant(0.0);
    return eval.Eval(args[i]);
  };
  if (const Variant* test = std::get_if<Variant>(&condition)) {
    if (test->IsError()) return *test;
    Variant number = ToNumber(*test);
    if (number.IsError()) return number;
    return branch(number.AsNumber() != 0 ? 1 : 2);
  }
  // An array condition chooses cell by cell.
  Operand yes = branch(1), no = branch(2);
  std::shared_ptr<const Matrix> tests = eval.Array(condition);
  std::shared_ptr<const Matrix> y = eval.Array(yes), n = eval.Array(no);
  auto at = [](const Matrix& m, int r, int c) {
    return m.At(m.rows == 1 ? 0 : std::min(r, m.rows - 1),
                m.columns == 1 ? 0 : std::min(c, m.columns - 1));
  };
  // A branch read past its last row repeats that row, so it reads the same from there on.
  auto uniformFrom = [](const Matrix& m) {
    return m.rows == 1 ? 0 : m.StoredRows() < m.rows ? m.StoredRows() : m.rows - 1;
  };
  return Evaluator::MakeMatrix(
      tests->rows, tests->columns,
      std::max({tests->StoredRows(), uniformFrom(*y), uniformFrom(*n)}),
      [&](int r, int c) { return pick(tests->At(r, c), at(*y, r, c), at(*n, r, c)); });
}

// IFERROR: the value, or the second argument where it is an error value. The second is only
// computed when needed.
Operand IfError(Evaluator& eval, const Args& args) {
  Operand value = eval.Eval(args[0]);
  if (const Variant* scalar = std::get_if<Variant>(&value)) {
    if (!scalar->IsError()) return *scalar;
    if (args[1].kind == FormulaNode::Kind::Missing) return Variant(0.0);
    return eval.Eval(args[1]);
  }
  return eval.Broadcast(value, eval.Eval(args[1]),
                        [](const Variant& a, const Variant& b) { return a.IsError() ? b : a; });
}

}  // namespace

void AddLogicalFunctions(FunctionTable& table) {
  table["AND"] = {Logical<true>, 1, kMaxArguments};
  table["OR"] = {Logical<false>, 1, kMaxArguments};
  table["NOT"] = {Not, 1, 1};
  table["TRUE"] = {Constant<true>, 0, 0};
  table["FALSE"] = {Constant<false>, 0, 0};
  table["IF"] = {If, 2, 3};
  table["IFERROR"] = {IfError, 2, 2};
}

}  // namespace tavrin
