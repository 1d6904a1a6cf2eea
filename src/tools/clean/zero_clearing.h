#pragma once

#include <functional>
#include <optional>

#include "host/application.h"
#include "host/range.h"

namespace tavrin {

// The selection prompt of the zero-clearing tools: the range the user picks, or nothing when
// the prompt was cancelled.
std::optional<Range> AskForZeroRange(Application& app);

// Visits every cell of every area, area by area, row by row, in the order the host
// enumerates a range's cells.
void ForEachCell(const Range& range, const std::function<void(const Range& cell)>& visit);

}  // namespace tavrin
