#include "spreadsheet/formula/digits.h"

#include <array>
#include <cmath>

namespace tavrin {

namespace {

// Powers of ten from 1E-340 to 1E340 in extended precision, so scaling a double to 15 digits
// and back loses nothing a double holds.
constexpr int kLowestPower = -340;
const std::array<long double, 681>& PowersOfTen() {
  static const std::array<long double, 681> powers = [] {
    std::array<long double, 681> table{};
    for (int i = 0; i < static_cast<int>(table.size()); ++i)
      table[i] = std::pow(10.0L, static_cast<long double>(i + kLowestPower));
    return table;
  }();
  return powers;
}

long double PowerOfTen(int exponent) {
  return PowersOfTen()[static_cast<size_t>(exponent - kLowestPower)];
}

}  // namespace

double FifteenDigits(double number) {
  double magnitude = std::fabs(number);
  if (!std::isfinite(number) || number == 0) return number;
  if (magnitude < 1e15 && number == std::trunc(number)) return number;
  // The decimal exponent from the binary one, corrected by one comparison.
  int exponent = static_cast<int>(std::floor(std::ilogb(magnitude) * 0.30102999566398120));
  if (magnitude >= PowerOfTen(exponent + 1)) ++exponent;
  long double scale = PowerOfTen(14 - exponent);
  return static_cast<double>(std::round(number * scale) / scale);
}

int CompareFifteenDigits(double left, double right) {
  double a = FifteenDigits(left), b = FifteenDigits(right);
  return (a > b) - (a < b);
}

double Difference(double left, double right) {
  return CompareNumbers(left, right) == 0 ? 0 : left - right;
}

double RoundDigits(double number, double digits, Rounding rounding) {
  double places = std::trunc(digits);
  if (places < -308) return 0;
  double power = std::pow(10.0, std::fabs(places));
  double magnitude = std::fabs(number);
  double scaled = places >= 0 ? magnitude * power : magnitude / power;
  if (!std::isfinite(scaled)) return number;
  scaled = FifteenDigits(scaled);
  double whole = rounding == Rounding::Nearest ? std::round(scaled)
                 : rounding == Rounding::Up    ? std::ceil(scaled)
                                               : std::trunc(scaled);
  double result = places >= 0 ? whole / power : whole * power;
  return result == 0 ? 0.0 : std::copysign(result, number);
}

}  // namespace tavrin
