#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "host/variant_rules.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

using Args = std::vector<FormulaNode>;

// Calls take(value, fromCells) for every value of the arguments: the cells of ranges and arrays
// (fromCells true), and plain values. Stops at the first false.
template <class Take>
void ForEachArgument(Evaluator& eval, const Args& args, Take&& take) {
  for (const FormulaNode& arg : args) {
    Operand operand = eval.Eval(arg);
    if (const Variant* value = std::get_if<Variant>(&operand)) {
      if (!take(*value, arg.kind == FormulaNode::Kind::Ref)) return;
      continue;
    }
    bool more = true;
    eval.Array(operand)->ForEachValue(
        [&](const Variant& value) { return more = take(value, true); });
    if (!more) return;
  }
}

// The numbers of the arguments as SUM takes them: numbers in cells, and any value typed as an
// argument that reads as a number. The first error wins.
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

Operand Sum(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  double sum = 0;
  for (double n : numbers) sum += n;
  return Variant(sum);
}

Operand Average(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  if (numbers.empty()) return Variant(ErrorValue::Div0);
  double sum = 0;
  for (double n : numbers) sum += n;
  return Variant(sum / static_cast<double>(numbers.size()));
}

template <bool kMax>
Operand Extreme(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  if (numbers.empty()) return Variant(0.0);
  double best = numbers.front();
  for (double n : numbers) best = kMax ? std::max(best, n) : std::min(best, n);
  return Variant(best);
}

Operand CountA(Evaluator& eval, const Args& args) {
  double count = 0;
  ForEachArgument(eval, args, [&](const Variant& value, bool) {
    if (!value.IsEmpty()) ++count;
    return true;
  });
  return Variant(count);
}

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

Operand Unary(Evaluator& eval, const Args& args, Variant (*apply)(const Variant&)) {
  if (args.size() != 1) return Variant(ErrorValue::Value);
  return eval.Map(eval.Eval(args[0]), apply);
}

Operand If(Evaluator& eval, const Args& args) {
  if (args.size() < 2 || args.size() > 3) return Variant(ErrorValue::Value);
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

// ROUND half away from zero, on the number as 15 significant digits show it.
Operand Round(Evaluator& eval, const Args& args) {
  if (args.size() != 2) return Variant(ErrorValue::Value);
  return eval.Broadcast(eval.Eval(args[0]), eval.Eval(args[1]),
                        [](const Variant& a, const Variant& b) {
                          Variant x = ToNumber(a), d = ToNumber(b);
                          if (x.IsError()) return x;
                          if (d.IsError()) return d;
                          double places = std::trunc(d.AsNumber());
                          double power = std::pow(10.0, std::fabs(places));
                          double scaled = places >= 0 ? x.AsNumber() * power : x.AsNumber() / power;
                          char text[32];
                          std::snprintf(text, sizeof text, "%.15g", scaled);
                          double rounded = std::round(std::strtod(text, nullptr));
                          return Variant(places >= 0 ? rounded / power : rounded * power);
                        });
}

Variant Abs(const Variant& value) {
  Variant x = ToNumber(value);
  return x.IsError() ? x : Variant(std::fabs(x.AsNumber()));
}
Variant Not(const Variant& value) {
  Variant x = ToNumber(value);
  return x.IsError() ? x : Variant::Boolean(x.AsNumber() == 0);
}
Variant IsNumber(const Variant& value) {
  return Variant::Boolean(value.IsNumber() || value.IsDate());
}
Variant IsBlank(const Variant& value) {
  return Variant::Boolean(value.IsEmpty());
}
Variant IsError(const Variant& value) {
  return Variant::Boolean(value.IsError());
}
Variant Len(const Variant& value) {
  if (value.IsError()) return value;
  std::string text = value.IsText() ? value.AsText() : "";
  if (value.IsNumber()) text = NumberText(value.AsNumber(), UserLocale{});
  if (value.IsBoolean()) text = value.AsBoolean() ? "TRUE" : "FALSE";
  double count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return Variant(count);
}

}  // namespace

void AddMathFunctions(FunctionTable& table) {
  table["SUM"] = Sum;
  table["AVERAGE"] = Average;
  table["MIN"] = Extreme<false>;
  table["MAX"] = Extreme<true>;
  table["COUNTA"] = CountA;
  table["AND"] = Logical<true>;
  table["OR"] = Logical<false>;
  table["IF"] = If;
  table["ROUND"] = Round;
  table["ABS"] = [](Evaluator& e, const Args& a) { return Unary(e, a, Abs); };
  table["NOT"] = [](Evaluator& e, const Args& a) { return Unary(e, a, Not); };
  table["ISNUMBER"] = [](Evaluator& e, const Args& a) { return Unary(e, a, IsNumber); };
  table["ISBLANK"] = [](Evaluator& e, const Args& a) { return Unary(e, a, IsBlank); };
  table["ISERROR"] = [](Evaluator& e, const Args& a) { return Unary(e, a, IsError); };
  table["LEN"] = [](Evaluator& e, const Args& a) { return Unary(e, a, Len); };
}

SheetFunction FindFunction(std::string_view name) {
  static const FunctionTable table = [] {
    FunctionTable all;
    AddMathFunctions(all);
    AddLookupFunctions(all);
    return all;
  }();
  auto found = table.find(name);
  return found == table.end() ? nullptr : found->second;
}

}  // namespace tavrin
