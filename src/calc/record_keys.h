#pragma once

#include <string>

#include "host/block.h"

namespace tavrin {

// A key of a block's row for finding records that are the same as the host compares them:
// texts ignoring letter case (Unicode simple folding), numbers and dates by value, -0 as 0, a
// number never the same as a text.
std::string RecordKey(const Block& block, int row);

}  // namespace tavrin
