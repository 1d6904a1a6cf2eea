#include "spreadsheet/worksheet_function.h"

#include <cmath>

#include "host/host_error.h"
#include "spreadsheet/criteria.h"
#include "spreadsheet/formula/digits.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

HostError Unavailable(const char* function) {
  return HostError::PropertyUnavailable("WorksheetFunction", function);
}

// -1, 0 or 1 for two values of the same kind (numbers, texts ignoring case, Booleans);
// nothing for values Match does not compare.
std::optional<int> CompareSameKind(const Variant& value, const Variant& lookup) {
  bool numbers = (value.IsNumber() || value.IsDate()) && (lookup.IsNumber() || lookup.IsDate());
  if (numbers)
    return (value.AsNumber() > lookup.AsNumber()) - (value.AsNumber() < lookup.AsNumber());
  if (value.IsText() && lookup.IsText())
    return CollateIgnoringCase(value.AsText(), lookup.AsText());
  if (value.IsBoolean() && lookup.IsBoolean()) {
    return static_cast<int>(value.AsBoolean()) - static_cast<int>(lookup.AsBoolean());
  }
  return std::nullopt;
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
  const Sheet& sheet = SheetOf(range);
  Criterion criterion(criteria, locale_);
  bool emptyMatches = criterion.Matches(Variant());
  long long count = 0;
  for (const Area& area : range.Areas()) {
    if (emptyMatches) count += area.Count() - sheet.Store().ContentCount(area);
    sheet.ForEachValue(area, [&](int, int, const Variant& value) {
      if (criterion.Matches(value)) ++count;
    });
  }
  return static_cast<double>(count);
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
  const Area& area = lookupArray.FirstArea();
  if ((area.rows != 1 && area.columns != 1) || lookupValue.IsEmpty() || lookupValue.IsError()) {
    throw Unavailable("Match");
  }
  bool wildcards =
      lookupValue.IsText() && lookupValue.AsText().find_first_of("*?~") != std::string::npos;
  if (matchType == 0 && !wildcards) {
    if (const LookupIndex* index = SheetOf(lookupArray).Calc().Index(area)) {
      long long position = index->First(lookupValue);
      if (position == 0) throw Unavailable("Match");
      return static_cast<double>(position);
    }
  }
  std::optional<WildcardPattern> pattern;
  if (matchType == 0 && lookupValue.IsText()) pattern.emplace(lookupValue.AsText());
  long long found = 0;
  bool done = false;
  SheetOf(lookupArray).ForEachValue(area, [&](int row, int column, const Variant& value) {
    if (done) return;
    long long position = (row - area.row) + (column - area.column) + 1;
    if (pattern) {
      done = value.IsText() && pattern->Matches(value.AsText());
      if (done) found = position;
      return;
    }
    std::optional<int> order = CompareSameKind(value, lookupValue);
    if (!order) return;
    if (matchType == 0) {
      done = *order == 0;
      if (done) found = position;
    } else if ((matchType > 0 && *order <= 0) || (matchType < 0 && *order >= 0)) {
      found = position;
    } else {
      done = true;
    }
  });
  if (found == 0) throw Unavailable("Match");
  return static_cast<double>(found);
}

double SheetFunctions::RoundUp(double number, double digits) {
  double rounded = RoundDigits(number, digits, Rounding::Up);
  return std::isfinite(rounded) ? rounded : number;
}

}  // namespace tavrin
