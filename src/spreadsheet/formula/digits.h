#pragma once

#include <algorithm>
#include <cmath>

namespace tavrin {

// A number as the host keeps it for comparison and rounding: its 15 significant digits, so that
// 0.1+0.2 is 0.3 and 2.345*100 is 234.5. Integers below 1E15 are themselves; infinities and nan
// stay as they are.
double FifteenDigits(double number);

// Compares two numbers by their 15 significant digits: -1, 0 or 1.
int CompareFifteenDigits(double left, double right);

// The host's comparison of two numbers: equal when their 15 significant digits are; -1, 0 or 1.
// Rounding to 15 digits moves a number by at most half a unit of its 15th digit, so numbers
// further apart than that compare as they do in full.
inline int CompareNumbers(double left, double right) {
  if (left == right) return 0;
  double scale = std::max(std::fabs(left), std::fabs(right));
  if (std::fabs(left - right) > scale * 1e-13) return left < right ? -1 : 1;
  return CompareFifteenDigits(left, right);
}

// A difference that is 0 when the two numbers are equal to 15 significant digits.
double Difference(double left, double right);

// How ROUND (half away from zero), ROUNDUP (away from zero) and ROUNDDOWN (towards zero) round.
enum class Rounding { Nearest, Up, Down };

// A number rounded to a number of decimals (truncated; negative rounds left of the point), the
// number taken to 15 significant digits first so that 2.345 rounds to 2.35. Scaling is by a
// power of ten and never by its inverse, so 1234 at -2 decimals is an exact 1300. A number with
// fewer decimals than asked stays as it is.
double RoundDigits(double number, double digits, Rounding rounding);

}  // namespace tavrin
