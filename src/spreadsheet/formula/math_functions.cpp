#include <cmath>

#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

Operand Sum(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  double sum = 0;
  for (double n : numbers) sum += n;
  return Variant(sum);
}

// PRODUCT of no number at all is 0, as the host gives it.
Operand Product(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  if (numbers.empty()) return Variant(0.0);
  double product = 1;
  for (double n : numbers) product *= n;
  return Variant(product);
}

template <Rounding kRounding>
Operand Round(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    return Variant(RoundDigits(n[0], n[1], kRounding));
  });
}

// TRUNC: ROUNDDOWN with no decimals unless given.
Operand Trunc(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t count) {
    return Variant(RoundDigits(n[0], count > 1 ? n[1] : 0, Rounding::Down));
  });
}

// INT rounds down, towards minus infinity, the number taken to 15 digits.
Operand Int(Evaluator& eval, const Args& args) {
  return OfNumbers(
      eval, args, [](const double* n, size_t) { return Variant(std::floor(FifteenDigits(n[0]))); });
}

// MOD takes the divisor's sign. The host cannot give it once the quotient reaches 2^27.
Operand Mod(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double number = n[0], divisor = n[1];
    if (divisor == 0) return Variant(ErrorValue::Div0);
    double quotient = number / divisor;
    if (std::fabs(quotient) >= 134217728) return Variant(ErrorValue::Num);
    return NumberResult(Difference(number, std::floor(FifteenDigits(quotient)) * divisor));
  });
}

// CEILING and FLOOR to a multiple of the significance: CEILING up and FLOOR down, towards plus
// and minus infinity, with a positive significance; with a negative one (for a negative
// number) away from zero and towards it. A positive number and a negative significance are
// #NUM!. CEILING to 0 is 0, FLOOR to 0 #DIV/0!.
template <bool kCeiling>
Operand ToMultiple(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double number = n[0], significance = n[1];
    if (number == 0) return Variant(0.0);
    if (significance == 0) return kCeiling ? Variant(0.0) : Variant(ErrorValue::Div0);
    if (number > 0 && significance < 0) return Variant(ErrorValue::Num);
    double times = FifteenDigits(number / significance);
    return NumberResult((kCeiling ? std::ceil(times) : std::floor(times)) * significance);
  });
}

Operand Power(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    if (n[0] == 0 && n[1] <= 0) return Variant(n[1] == 0 ? ErrorValue::Num : ErrorValue::Div0);
    return NumberResult(std::pow(n[0], n[1]));
  });
}

Operand Sqrt(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    return n[0] < 0 ? Variant(ErrorValue::Num) : Variant(std::sqrt(n[0]));
  });
}

Operand Abs(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) { return Variant(std::fabs(n[0])); });
}

}  // namespace

void AddMathFunctions(FunctionTable& table) {
  table["SUM"] = {Sum, 1, kMaxArguments};
  table["PRODUCT"] = {Product, 1, kMaxArguments};
  table["ROUND"] = {Round<Rounding::Nearest>, 2, 2};
  table["ROUNDUP"] = {Round<Rounding::Up>, 2, 2};
  table["ROUNDDOWN"] = {Round<Rounding::Down>, 2, 2};
  table["TRUNC"] = {Trunc, 1, 2};
  table["INT"] = {Int, 1, 1};
  table["MOD"] = {Mod, 2, 2};
  table["CEILING"] = {ToMultiple<true>, 2, 2};
  table["FLOOR"] = {ToMultiple<false>, 2, 2};
  table["POWER"] = {Power, 2, 2};
  table["SQRT"] = {Sqrt, 1, 1};
  table["ABS"] = {Abs, 1, 1};
}

}  // namespace tavrin
