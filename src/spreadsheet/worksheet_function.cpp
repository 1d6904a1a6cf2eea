#include "spreadsheet/worksheet_function.h"

#include <cmath>

#include "host/host_error.h"
#include "spreadsheet/criteria.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/formula/range_functions.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

namespace {

HostError Unavailable(const char* function) {
  return HostError::PropertyUnavailable("WorksheetFunction", function);
}

}  // namespace

double SheetFunctions::CountA(const Range& range) {
  const CellStore& store = SheetOf(range).Store();
  long long count = 0;
  for (const Area& area : range.Areas()) count += store.ContentCount(area);
  return static_cast<double>(count);
}

double SheetFunctions::CountBlank(const Range& range) {
  const Sheet& sheet = SheetOf(range);
  long long count = 0;
  for (const Area& area : range.Areas()) {
    count += area.Count();
    sheet.ForEachValue(area, [&](int, int, const Variant& value) {
      if (!value.IsEmpty() && !(value.IsText() && value.AsText().empty())) --count;
    });
  }
  return static_cast<double>(count);
}

double SheetFunctions::CountIf(const Range& range, const Variant& criteria) {
  Sheet& sheet = SheetOf(range);
  Evaluator eval(sheet, 1, 1);
  Criterion criterion(criteria, locale_);
  double count = 0;
  for (const Area& area : range.Areas()) count += CountMatching(eval, {&sheet, area}, criterion);
  return count;
}

double SheetFunctions::Sum(const Range& range) {
  const Sheet& sheet = SheetOf(range);
  double sum = 0;
  for (const Area& area : range.Areas()) {
    sheet.ForEachValue(area, [&](int, int, const Variant& value) {
      if (value.IsError()) throw Unavailable("Sum");
      if (value.IsNumber() || value.IsDate()) sum += value.AsNumber();
    });
  }
  return sum;
}

double SheetFunctions::Match(const Variant& lookupValue, const Range& lookupArray, int matchType) {
  if (lookupValue.IsEmpty() || lookupValue.IsError()) throw Unavailable("Match");
  Sheet& sheet = SheetOf(lookupArray);
  Evaluator eval(sheet, 1, 1);
  long long found = MatchPosition(eval, lookupValue, {&sheet, lookupArray.FirstArea()}, matchType);
  if (found == 0) throw Unavailable("Match");
  return static_cast<double>(found);
}

double SheetFunctions::RoundUp(double number, double digits) {
  double rounded = RoundDigits(number, digits, Rounding::Up);
  return std::isfinite(rounded) ? rounded : number;
}

}  // namespace tavrin
