#include <algorithm>

#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

// AND and OR: Booleans, numbers and the texts TRUE and FALSE count; texts and empty cells in
// ranges do not.
template <bool kAnd>
Operand Logical(Evaluator& eval, const Args& args) {
  Variant error;
  bool any = false, result = kAnd;
  ForEachArgument(eval, args, [&](const Variant& value, bool fromCells) {
    if (value.IsEmpty() || (value.IsText() && fromCells)) return true;
    Variant logical = ToLogical(value);  // an error value as it is
    if (logical.IsError()) return error = logical, false;
    any = true;
    bool truth = logical.AsBoolean();
    result = kAnd ? (result && truth) : (result || truth);
    return true;
  });
  if (error.IsError()) return error;
  return any ? Variant::Boolean(result) : Variant(ErrorValue::Value);
}

Operand Not(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    Variant x = ToLogical(values[0]);
    return x.IsError() ? x : Variant::Boolean(!x.AsBoolean());
  });
}

template <bool kTruth>
Operand Constant(Evaluator&, const Args&) {
  return Variant::Boolean(kTruth);
}

Operand If(Evaluator& eval, const Args& args) {
  Operand condition = eval.Eval(args[0]);
  auto pick = [](const Variant& test, const Variant& yes, const Variant& no) {
    Variant truth = ToLogical(test);
    if (truth.IsError()) return truth;
    return truth.AsBoolean() ? yes : no;
  };
  auto branch = [&](size_t i) -> Operand {
    if (i >= args.size()) return Variant::Boolean(i == 1);
    if (args[i].kind == FormulaNode::Kind::Missing) return Variant(0.0);
    return eval.Eval(args[i]);
  };
  if (const Variant* test = std::get_if<Variant>(&condition)) {
    Variant truth = ToLogical(*test);
    if (truth.IsError()) return truth;
    return branch(truth.AsBoolean() ? 1 : 2);
  }
  // An array condition chooses cell by cell, stretched over the branches as the operators
  // stretch: IF({1,0},B1:B2,A1:A2) is two columns side by side.
  return eval.Broadcast({condition, branch(1), branch(2)},
                        [&](const std::vector<Variant>& v) { return pick(v[0], v[1], v[2]); });
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
