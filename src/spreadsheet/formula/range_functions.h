#pragma once

#include "spreadsheet/criteria.h"
#include "spreadsheet/formula/formula_eval.h"

namespace tavrin {

// The formula functions that the host's WorksheetFunction object offers too, on a range of a
// sheet: one rule for a lookup and one for a criterion, whichever asks.

// MATCH: the 1-based position of the lookup value in a one-row or one-column range, 0 when it is
// not there. Type 0 finds the first equal value (texts with wildcards, letter case ignored),
// type 1 the last of ascending values not above the lookup value, type -1 the last of
// descending values not below it; values of another kind are passed over, numbers compare
// exactly. Exact lookups go through the range's lookup index.
long long MatchPosition(Evaluator& eval, const Variant& lookup, const RangeRef& range, int type);

// COUNTIF: how many cells of the range match the criterion, empty cells included.
double CountMatching(Evaluator& eval, const RangeRef& range, const Criterion& criterion);

}  // namespace tavrin
