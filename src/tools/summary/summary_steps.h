#pragma once

#include <string>

#include "host/range.h"

namespace tavrin {

// The question of the lookup tools before they write over a target that holds anything, the
// same whatever it holds.
inline std::string LookupOverwriteQuestion(double /*count*/) {
  return "“数据”目标列中目前已存在有效数据,继续运行将会清除掉这些数据\n\n是否继续运行？";
}

// Fills the formula of a block's first cell over the block with the host's default fill:
// across the first row when there are several columns, then down when there are several rows.
inline void FillFromFirstCell(const Range& block) {
  Range first = block.Cells(1, 1);
  Range firstRow = first.Resize(1, block.ColumnsCount());
  if (block.ColumnsCount() > 1) first.AutoFill(firstRow, xlFillDefault);
  if (block.RowsCount() > 1) firstRow.AutoFill(block, xlFillDefault);
}

}  // namespace tavrin
