#include "spreadsheet/formula/function_args.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "spreadsheet/sheet.h"

namespace tavrin {

Variant Numbers(Evaluator& eval, const Args& args, std::vector<double>& numbers) {
  Variant error;
  ForEachArgument(eval, args, [&](const Variant& value, bool fromCells) {
    if (value.IsError()) return error = value, false;
    if (value.IsNumber() || value.IsDate()) {
      numbers.push_back(value.AsNumber());
    } else if (!fromCells && !value.IsEmpty()) {
      Variant number = ToNumber(value);
      if (number.IsError()) return error = number, false;
      numbers.push_back(number.AsNumber());
    }
    return true;
  });
  return error;
}

Variant NumberArg(Evaluator& eval, const FormulaNode& node) {
  return ToNumber(eval.Scalar(eval.Eval(node)));
}

Variant Whole(Evaluator& eval, const FormulaNode& node) {
  Variant number = NumberArg(eval, node);
  // Held within what an int holds: any number so large is out of every range anyway.
  return number.IsError() ? number : Variant(std::clamp(std::trunc(number.AsNumber()), -1e9, 1e9));
}

Operand Cellwise(Evaluator& eval, const Args& args, const CellwiseFunction& apply) {
  std::vector<Operand> operands;
  operands.reserve(args.size());
  for (const FormulaNode& arg : args) operands.push_back(eval.Eval(arg));
  return eval.Broadcast(operands, apply);
}

Variant ToLogical(const Variant& value) {
  if (value.IsError() || value.IsBoolean()) return value;
  if (!value.IsText()) return Variant::Boolean(ToNumber(value).AsNumber() != 0);
  std::string upper;
  for (char c : value.AsText())
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper == "TRUE" || upper == "FALSE") return Variant::Boolean(upper == "TRUE");
  return Variant(ErrorValue::Value);
}

Variant FirstError(const std::vector<Variant>& values) {
  for (const Variant& value : values) {
    if (value.IsError()) return value;
  }
  return Variant();
}

}  // namespace tavrin
