#include "tools/clean/zero_clearing.h"

#include <optional>

#include "host/application.h"

namespace tavrin {

namespace {

// The selection prompt: the range the user picks, or nothing when the prompt was cancelled.
std::optional<Range> AskForZeroRange(Application& app) {
  RangeOrValue answer = app.InputBox("请选定你要清零的单元格区域", "Lumo提示", Variant(),
                                     Variant(400), Variant(-80), Variant(), Variant(), 8);
  // A cancelled prompt answers False, which is no range.
  if (!answer.IsRange()) return std::nullopt;
  return answer.AsRange();
}

// Every cell of the range taken for zero cleared, cell by cell.
void ClearZeroCells(const Range& range, const std::function<bool(const Range& cell)>& isZero) {
  for (const Area& area : range.Areas()) {
    for (int row = area.row; row <= area.LastRow(); ++row) {
      for (int column = area.column; column <= area.LastColumn(); ++column) {
        Range cell(range.Parent(), Area{row, column, 1, 1});
        if (isZero(cell)) cell.ClearContents();
      }
    }
  }
}

}  // namespace

void ClearZerosOfChosenRange(RunFrame& frame,
                             const std::function<bool(const Range& cell)>& isZero) {
  std::optional<Range> range = AskForZeroRange(frame.App());
  if (!range) {
    frame.CalledOff(true);
    return;
  }
  ClearZeroCells(*range, isZero);
  frame.EventsBack();
  frame.Finished();
}

}  // namespace tavrin
