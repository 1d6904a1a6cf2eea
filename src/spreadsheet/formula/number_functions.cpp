#include <cmath>
#include <numbers>
#include <numeric>
#include <random>

#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"

namespace tavrin {

namespace {

const Variant kNum{ErrorValue::Num};

// MROUND: to the nearest multiple, halves away from zero; a number and a multiple of different
// signs are #NUM!.
Operand MRound(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    if (n[1] == 0 || n[0] == 0) return Variant(0.0);
    if ((n[0] > 0) != (n[1] > 0)) return kNum;
    return NumberResult(RoundDigits(n[0] / n[1], 0, Rounding::Nearest) * n[1]);
  });
}

Operand SumSq(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  double sum = 0;
  for (double n : numbers) sum += n * n;
  return NumberResult(sum);
}

// GCD and LCM of whole numbers (truncated); a negative one is #NUM!, LCM with 0 is 0.
template <bool kGcd>
Operand Divisors(Evaluator& eval, const Args& args) {
  std::vector<double> numbers;
  Variant error = Numbers(eval, args, numbers);
  if (error.IsError()) return error;
  double result = kGcd ? 0 : 1;
  for (double n : numbers) {
    double whole = std::trunc(n);
    if (whole < 0 || whole >= 9007199254740992.0) return kNum;
    auto a = static_cast<unsigned long long>(result), b = static_cast<unsigned long long>(whole);
    result = kGcd ? static_cast<double>(std::gcd(a, b))
                  : (a == 0 || b == 0 ? 0 : static_cast<double>(a / std::gcd(a, b)) * whole);
  }
  return NumberResult(result);
}

Operand Quotient(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    return n[1] == 0 ? Variant(ErrorValue::Div0) : Variant(std::trunc(n[0] / n[1]));
  });
}

Operand Fact(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double whole = std::trunc(n[0]);
    if (whole < 0 || whole > 170) return kNum;
    double product = 1;
    for (double k = 2; k <= whole; ++k) product *= k;
    return Variant(product);
  });
}

Operand Combin(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double total = std::trunc(n[0]), chosen = std::trunc(n[1]);
    if (total < 0 || chosen < 0 || chosen > total) return kNum;
    chosen = std::min(chosen, total - chosen);
    double result = 1;
    for (double k = 1; k <= chosen; ++k) result = result * (total - chosen + k) / k;
    return NumberResult(std::round(result));
  });
}

Operand Sign(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args,
                   [](const double* n, size_t) { return Variant((n[0] > 0) - (n[0] < 0)); });
}

// LN, LOG10, LOG (base 10 unless given) and EXP; a logarithm of 0 or less is #NUM!, of base 1
// #DIV/0!.
Operand Log(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t count) {
    double base = count > 1 ? n[1] : 10;
    if (n[0] <= 0 || base <= 0) return kNum;
    if (base == 1) return Variant(ErrorValue::Div0);
    return Variant(std::log(n[0]) / std::log(base));
  });
}

Operand Ln(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    return n[0] <= 0 ? kNum : Variant(std::log(n[0]));
  });
}

Operand Log10(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    return n[0] <= 0 ? kNum : Variant(std::log10(n[0]));
  });
}

Operand Exp(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args,
                   [](const double* n, size_t) { return NumberResult(std::exp(n[0])); });
}

Operand Pi(Evaluator&, const Args&) {
  return Variant(std::numbers::pi);
}

// ISEVEN and ISODD of the whole part; a text that is no number is #VALUE!.
template <bool kEven>
Operand Parity(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    bool even = std::fmod(std::trunc(std::fabs(n[0])), 2) == 0;
    return Variant::Boolean(even == kEven);
  });
}

// RAND and RANDBETWEEN draw afresh whenever the workbook is computed again.
double Draw() {
  thread_local std::mt19937_64 source{std::random_device{}()};
  return std::uniform_real_distribution<double>(0, 1)(source);
}

Operand Rand(Evaluator&, const Args&) {
  return Variant(Draw());
}

Operand RandBetween(Evaluator& eval, const Args& args) {
  return OfNumbers(eval, args, [](const double* n, size_t) {
    double low = std::ceil(n[0]), high = std::floor(n[1]);
    if (low > high) return kNum;
    return Variant(std::min(high, low + std::floor(Draw() * (high - low + 1))));
  });
}

}  // namespace

void AddNumberFunctions(FunctionTable& table) {
  table["MROUND"] = {MRound, 2, 2};
  table["SUMSQ"] = {SumSq, 1, kMaxArguments};
  table["GCD"] = {Divisors<true>, 1, kMaxArguments};
  table["LCM"] = {Divisors<false>, 1, kMaxArguments};
  table["QUOTIENT"] = {Quotient, 2, 2};
  table["FACT"] = {Fact, 1, 1};
  table["COMBIN"] = {Combin, 2, 2};
  table["SIGN"] = {Sign, 1, 1};
  table["LOG"] = {Log, 1, 2};
  table["LN"] = {Ln, 1, 1};
  table["LOG10"] = {Log10, 1, 1};
  table["EXP"] = {Exp, 1, 1};
  table["PI"] = {Pi, 0, 0};
  table["ISEVEN"] = {Parity<true>, 1, 1};
  table["ISODD"] = {Parity<false>, 1, 1};
  table["RAND"] = {Rand, 0, 0};
  table["RANDBETWEEN"] = {RandBetween, 2, 2};
}

}  // namespace tavrin
