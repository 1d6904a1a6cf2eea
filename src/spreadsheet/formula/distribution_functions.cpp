#include <algorithm>
#include <cmath>
#include <map>

#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/sheet_calc.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

// The variance of numbers about their mean, of a sample (divided by n - 1) or of the whole
// population (by n); #DIV/0! when there are too few.
Variant Variance(const std::vector<double>& numbers, bool sample) {
  double n = static_cast<double>(numbers.size());
  if (n < (sample ? 2 : 1)) return Variant(ErrorValue::Div0);
  // In extended precision, so the 15 digits shown are the exact variance's.
  long double mean = 0;
  for (double x : numbers) mean += x;
  mean /= n;
  long double sum = 0;
  for (double x : numbers) sum += (x - mean) * (x - mean);
  return NumberResult(static_cast<double>(sum / (sample ? n - 1 : n)));
}

// The statistic SUBTOTAL's function number names (1 to 11), of the numbers of its cells;
// COUNTA counts every value, given as `values`.
Variant Statistic(int function, const std::vector<double>& numbers, size_t values) {
  double sum = 0, product = 1;
  for (double x : numbers) sum += x, product *= x;
  auto extreme = [&](bool max) {
    if (numbers.empty()) return Variant(0.0);
    return Variant(max ? *std::max_element(numbers.begin(), numbers.end())
                       : *std::min_element(numbers.begin(), numbers.end()));
  };
  switch (function) {
    case 1:
      if (numbers.empty()) return Variant(ErrorValue::Div0);
      return Variant(sum / static_cast<double>(numbers.size()));
    case 2:
      return Variant(static_cast<double>(numbers.size()));
    case 3:
      return Variant(static_cast<double>(values));
    case 4:
      return extreme(true);
    case 5:
      return extreme(false);
    case 6:
      return numbers.empty() ? Variant(0.0) : NumberResult(product);
    case 7:
    case 8: {
      Variant variance = Variance(numbers, function == 7);
      return variance.IsError() ? variance : Variant(std::sqrt(variance.AsNumber()));
    }
    case 9:
      return NumberResult(sum);
    default:
      return Variance(numbers, function == 10);
  }
}

template <int kFunction>
Operand Of(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  return Statistic(kFunction, numbers, numbers.size());
}

// Whether a formula calls SUBTOTAL: SUBTOTAL passes over such cells, so subtotals nest.
bool CallsSubtotal(const FormulaTree& tree) {
  std::vector<const FormulaNode*> todo{&tree.root};
  while (!todo.empty()) {
    const FormulaNode* node = todo.back();
    todo.pop_back();
    if (node->kind == FormulaNode::Kind::Call && node->text == "SUBTOTAL") return true;
    for (const FormulaNode& child : node->children) todo.push_back(&child);
  }
  return false;
}

// SUBTOTAL: functions 1 to 11 over the cells of references, passing over the cells of other
// subtotals; 101 to 111 pass over hidden rows too.
Operand Subtotal(Evaluator& eval, const Args& args) {
  Variant code = Whole(eval, args[0]);
  if (code.IsError()) return code;
  int function = static_cast<int>(code.AsNumber());
  bool visibleOnly = function > 100;
  if (visibleOnly) function -= 100;
  if (function < 1 || function > 11) return Variant(ErrorValue::Value);
  std::vector<double> numbers;
  size_t values = 0;
  for (size_t i = 1; i < args.size(); ++i) {
    RangeRef range{};
    Variant error;
    if (!eval.RangeOf(args[i], range, error)) return error;
    const Sheet& sheet = *range.sheet;
    sheet.Store().ForEach(range.area, [&](int row, int column, const Cell& cell) {
      if (error.IsError() || !cell.HasContent()) return;
      const LineFormat* format = sheet.Layout().rowFormats.Find(row);
      if (visibleOnly && format != nullptr && format->hidden) return;
      if (cell.formula && CallsSubtotal(*SheetCalc::TreeOf(*cell.formula, row, column))) return;
      Variant value = sheet.CellValue(row, column);
      if (value.IsError() && function != 2 && function != 3) error = value;
      values += !value.IsEmpty();
      if (value.IsNumber() || value.IsDate()) numbers.push_back(value.AsNumber());
    });
    if (error.IsError()) return error;
  }
  return Statistic(function, numbers, values);
}

// MODE: the number met most often, the first met among equals; #N/A when none repeats.
Operand Mode(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  std::map<double, int> counts;
  for (double x : numbers) ++counts[x];
  double best = 0;
  int most = 1;
  for (double x : numbers) {
    if (counts[x] > most) best = x, most = counts[x];
  }
  return most > 1 ? Variant(best) : Variant(ErrorValue::NA);
}

// PERCENTILE (k from 0 to 1) and QUARTILE (0 to 4, a quarter each): between the two nearest of
// the sorted numbers.
template <bool kQuartile>
Operand Percentile(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, {args[0]}, numbers);
  if (error.IsError()) return error;
  Variant k = NumberArg(eval, args[1]);
  if (k.IsError()) return k;
  double fraction = kQuartile ? std::trunc(k.AsNumber()) / 4 : k.AsNumber();
  if (numbers.empty() || fraction < 0 || fraction > 1) return Variant(ErrorValue::Num);
  std::sort(numbers.begin(), numbers.end());
  double at = fraction * static_cast<double>(numbers.size() - 1);
  auto below = static_cast<size_t>(std::floor(at));
  double low = numbers[below], high = numbers[std::min(below + 1, numbers.size() - 1)];
  return Variant(low + (at - static_cast<double>(below)) * (high - low));
}

// FREQUENCY: a column of counts, one for each bin (the numbers above the next lower bin and not
// above it) in the bins' order, and one more for the numbers above every bin.
Operand Frequency(Evaluator& eval, const Args& args) {
  std::vector<double> data, bins;
  Variant error = Numbers(eval, {args[0]}, data);
  if (!error.IsError()) error = Numbers(eval, {args[1]}, bins);
  if (error.IsError()) return error;
  std::vector<double> sorted = bins;
  std::sort(sorted.begin(), sorted.end());
  std::vector<double> counts(sorted.size() + 1, 0);
  for (double x : data)
    ++counts[static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), x) -
                                 sorted.begin())];
  std::vector<double> out;
  std::vector<bool> taken(sorted.size(), false);
  for (double bin : bins) {
    auto at =
        static_cast<size_t>(std::lower_bound(sorted.begin(), sorted.end(), bin) - sorted.begin());
    out.push_back(taken[at] ? 0 : counts[at]);
    taken[at] = true;
  }
  out.push_back(counts.back());
  return Evaluator::MakeMatrix(static_cast<int>(out.size()), 1, static_cast<int>(out.size()),
                               [&](int r, int) { return Variant(out[static_cast<size_t>(r)]); });
}

}  // namespace

void AddDistributionFunctions(FunctionTable& table) {
  table["STDEV"] = {Of<7>, 1, kMaxArguments};
  table["STDEVP"] = {Of<8>, 1, kMaxArguments};
  table["VAR"] = {Of<10>, 1, kMaxArguments};
  table["VARP"] = {Of<11>, 1, kMaxArguments};
  table["SUBTOTAL"] = {Subtotal, 2, kMaxArguments};
  table["MODE"] = {Mode, 1, kMaxArguments};
  table["PERCENTILE"] = {Percentile<false>, 2, 2};
  table["QUARTILE"] = {Percentile<true>, 2, 2};
  table["FREQUENCY"] = {Frequency, 2, 2};
}

}  // namespace tavrin
