#pragma once

#include <functional>
#include <vector>

#include "spreadsheet/formula/formula_eval.h"

namespace tavrin {

// How the worksheet functions read their arguments, shared by every family.
using Args = std::vector<FormulaNode>;

// The node inside any parentheses.
inline const FormulaNode& Unwrapped(const FormulaNode& node) {
  const FormulaNode* inner = &node;
  while (inner->kind == FormulaNode::Kind::Paren) inner = &inner->children[0];
  return *inner;
}

// Calls take(value, fromCells) for every value of the arguments: the cells of ranges and arrays
// (fromCells true), and values typed as arguments. Stops at the first false.
template <class Take>
void ForEachArgument(Evaluator& eval, const Args& args, Take&& take) {
  for (const FormulaNode& arg : args) {
    Operand operand = eval.Eval(arg);
    if (const Variant* value = std::get_if<Variant>(&operand)) {
      if (!take(*value, Unwrapped(arg).kind == FormulaNode::Kind::Ref)) return;
      continue;
    }
    bool more = true;
    eval.Array(operand)->ForEachValue(
        [&](const Variant& value) { return more = take(value, true); });
    if (!more) return;
  }
}

// The numbers of the arguments as SUM takes them: numbers in cells and arrays (texts, Booleans
// and empty cells there are passed over), and any value typed as an argument that reads as a
// number (a Boolean 1 or 0, a text "5" 5; "x" is #VALUE!). The first error value wins.
Variant Numbers(Evaluator& eval, const Args& args, std::vector<double>& numbers);

// A number argument as arithmetic reads it (a range of several cells intersected), or an
// error value.
Variant NumberArg(Evaluator& eval, const FormulaNode& node);
// A whole number argument, truncated and held within what an int holds, or an error value.
Variant Whole(Evaluator& eval, const FormulaNode& node);

// Applies a function of plain values to the arguments, cell by cell when any of them is an
// array or a range of several cells, stretched as the operators stretch; all scalars give a
// scalar. An omitted argument is an empty value.
using CellwiseFunction = std::function<Variant(const std::vector<Variant>&)>;
Operand Cellwise(Evaluator& eval, const Args& args, const CellwiseFunction& apply);

// A value as a logical argument takes it (IF's test, NOT, AND, OR): a number is TRUE unless 0,
// empty FALSE, the texts TRUE and FALSE (any letter case) those values; any other text, number
// texts too, is #VALUE!. An error value stays.
Variant ToLogical(const Variant& value);

// The first error value among values, or an empty value when none holds one.
Variant FirstError(const std::vector<Variant>& values);

// Cellwise for functions of up to three numbers: each argument as arithmetic reads it (a date
// text as its serial), the first error value winning, handed to compute(numbers, count).
template <class Compute>
Operand OfNumbers(Evaluator& eval, const Args& args, Compute compute) {
  return Cellwise(eval, args, [&](const std::vector<Variant>& values) -> Variant {
    double numbers[3] = {0, 0, 0};
    for (size_t i = 0; i < values.size() && i < 3; ++i) {
      Variant number = ToNumber(values[i]);
      if (number.IsError()) return number;
      numbers[i] = number.AsNumber();
    }
    return compute(numbers, values.size());
  });
}

}  // namespace tavrin
