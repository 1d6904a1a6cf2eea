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
  // COUNTIF's count over each area of the range, the criterion read in the user's locale.
  double CountIf(const Range& range, const Variant& criteria) override;
  double Sum(const Range& range) override;
  // MATCH's position in the range's first area (MatchPosition); an empty or error lookup value,
  // or one not found, fails as the host's object does.
  double Match(const Variant& lookupValue, const Range& lookupArray, int matchType) override;
  // Digits are truncated to a whole number and may be negative.
  double RoundUp(double number, double digits) override;

 private:
  const UserLocale& locale_;
};

}  // namespace tavrin
