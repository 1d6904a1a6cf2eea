#include <algorithm>
#include <cmath>

#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

Operand Average(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  if (numbers.empty()) return Variant(ErrorValue::Div0);
  double sum = 0;
  for (double n : numbers) sum += n;
  return Variant(sum / static_cast<double>(numbers.size()));
}

// MIN and MAX of no number at all are 0.
template <bool kMax>
Operand Extreme(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  if (numbers.empty()) return Variant(0.0);
  return Variant(kMax ? *std::max_element(numbers.begin(), numbers.end())
                      : *std::min_element(numbers.begin(), numbers.end()));
}

Operand Median(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  if (numbers.empty()) return Variant(ErrorValue::Num);
  size_t half = numbers.size() / 2;
  std::nth_element(numbers.begin(), numbers.begin() + half, numbers.end());
  double upper = numbers[half];
  if (numbers.size() % 2 == 1) return Variant(upper);
  double lower = *std::max_element(numbers.begin(), numbers.begin() + half);
  return Variant(lower + (upper - lower) / 2);
}

// COUNT: numbers in cells and arrays; typed as arguments also Booleans and texts that read as
// numbers. Error values are not counted, and not passed on.
Operand Count(Evaluator& eval, const Args& args) {
  double count = 0;
  ForEachArgument(eval, args, [&](const Variant& value, bool fromCells) {
    if (value.IsNumber() || value.IsDate()) {
      ++count;
    } else if (!fromCells && (value.IsBoolean() || value.IsText())) {
      count += !ToNumber(value).IsError();
    }
    return true;
  });
  return Variant(count);
}

Operand CountA(Evaluator& eval, const Args& args) {
  double count = 0;
  ForEachArgument(eval, args, [&](const Variant& value, bool) {
    if (!value.IsEmpty()) ++count;
    return true;
  });
  return Variant(count);
}

// COUNTBLANK of a range: its empty cells and the cells whose value is "".
Operand CountBlank(Evaluator& eval, const Args& args) {
  RangeRef range{};
  Variant error;
  if (!eval.RangeOf(args[0], range, error)) return error;
  double count = 0;
  eval.Array(range)->ForEachValue([&](const Variant& value) {
    count += value.IsEmpty() || (value.IsText() && value.AsText().empty());
    return true;
  });
  return Variant(count);
}

// LARGE and SMALL: the k-th number from the top or the bottom, k rounded up; cell by cell
// over an array of k.
template <bool kLarge>
Operand Nth(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, Args{args[0]}, numbers);
  if (error.IsError()) return error;
  std::sort(numbers.begin(), numbers.end());
  if (kLarge) std::reverse(numbers.begin(), numbers.end());
  return eval.Map(eval.Eval(args[1]), [&](const Variant& value) {
    Variant k = ToNumber(value);
    if (k.IsError()) return k;
    double n = std::ceil(FifteenDigits(k.AsNumber()));
    if (n < 1 || n > static_cast<double>(numbers.size())) return Variant(ErrorValue::Num);
    return Variant(numbers[static_cast<size_t>(n) - 1]);
  });
}

// RANK of a number among the numbers of a range: 1 for the largest (order 0 or omitted) or the
// smallest (any other order); a number not in the range is #N/A.
Operand Rank(Evaluator& eval, const Args& args) {
  Variant number = NumberArg(eval, args[0]);
  if (number.IsError()) return number;
  RangeRef range{};
  Variant error;
  if (!eval.RangeOf(args[1], range, error)) return error;
  bool ascending = false;
  if (args.size() == 3) {
    Variant order = NumberArg(eval, args[2]);
    if (order.IsError()) return order;
    ascending = order.AsNumber() != 0;
  }
  double before = 0;
  bool found = false;
  eval.Array(range)->ForEachValue([&](const Variant& value) {
    if (value.IsError()) return error = value, false;
    if (!value.IsNumber() && !value.IsDate()) return true;
    int order = CompareNumbers(value.AsNumber(), number.AsNumber());
    found = found || order == 0;
    before += ascending ? order < 0 : order > 0;
    return true;
  });
  if (error.IsError()) return error;
  return found ? Variant(before + 1) : Variant(ErrorValue::NA);
}

}  // namespace

void AddStatisticalFunctions(FunctionTable& table) {
  table["AVERAGE"] = {Average, 1, kMaxArguments};
  table["MIN"] = {Extreme<false>, 1, kMaxArguments};
  table["MAX"] = {Extreme<true>, 1, kMaxArguments};
  table["MEDIAN"] = {Median, 1, kMaxArguments};
  table["COUNT"] = {Count, 1, kMaxArguments};
  table["COUNTA"] = {CountA, 1, kMaxArguments};
  table["COUNTBLANK"] = {CountBlank, 1, 1};
  table["LARGE"] = {Nth<true>, 2, 2};
  table["SMALL"] = {Nth<false>, 2, 2};
  table["RANK"] = {Rank, 2, 3};
}

}  // namespace tavrin
