#pragma once

#include "host/range.h"
#include "host/variant.h"

namespace tavrin {

// Application.WorksheetFunction. A function that cannot give a result fails with the host's
// 1004 "不能取得类 WorksheetFunction 的 Match 属性" (the function's name in it).
class WorksheetFunction {
 public:
  virtual ~WorksheetFunction() = default;
  // Non-empty cells (a formula's "" counts).
  virtual double CountA(const Range& range) = 0;
  // Empty cells and cells whose value is "".
  virtual double CountBlank(const Range& range) = 0;
  // Cells meeting a criterion: "=0", ">0", "<0", "*", an operator and a value, wildcards
  // * ? and ~ in texts.
  virtual double CountIf(const Range& range, const Variant& criteria) = 0;
  // Numbers of the range; an error value in it fails.
  virtual double Sum(const Range& range) = 0;
  // 1-based position of the value in a one-row or one-column range; type 0 is the exact match
  // (letter case ignored, wildcards in texts). Not found fails.
  virtual double Match(const Variant& lookupValue, const Range& lookupArray, int matchType) = 0;
  // Rounded away from zero to the given digits.
  virtual double RoundUp(double number, double digits) = 0;
};

}  // namespace tavrin
