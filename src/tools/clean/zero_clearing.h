#pragma once

#include <functional>

#include "component/run_frame.h"
#include "host/range.h"

namespace tavrin {

// The steps the zero-clearing tools share once events are off and the form is hidden: the
// selection prompt; every cell of the chosen range, area by area and row by row as the host
// enumerates them, cleared when `isZero` takes it for zero; the normal close. A cancelled prompt
// calls the run off and shows the form again.
void ClearZerosOfChosenRange(RunFrame& frame, const std::function<bool(const Range& cell)>& isZero);

}  // namespace tavrin
