#pragma once

#include "host/user_locale.h"
#include "host/worksheet_function.h"

namespace tavrin {

// The embedded spreadsheet's WorksheetFunction. Counts over whole columns cost time in
// proportion to the cells holding content: empty cells are counted by subtraction, never
// visited.
class SheetFunctions : public WorksheetFunction {
 public:
  explicit SheetFunctions(const UserLocale& locale) : locale_(locale) {}

  double CountA(const Range& range) override;
  double CountBlank(const Range& range) override;
  double CountIf(const Range& range, const Variant& criteria) override;
  double Sum(const Range& range) override;
  // Type 0: the first equal value (texts with wildcards, letter case ignored; a number never
  // equals a text). Type 1: the last of the ascending values not above the lookup value; type
  // -1: the last of the descending values not below it. Values of another kind are passed over.
  // Exact lookups of values without wildcards go through the range's lookup index.
  double Match(const Variant& lookupValue, const Range& lookupArray, int matchType) override;
  // Digits are truncated to a whole number and may be negative.
  double RoundUp(double number, double digits) override;

 private:
  const UserLocale& locale_;
};

}  // namespace tavrin
