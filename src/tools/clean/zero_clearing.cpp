#include "tools/clean/zero_prompt.h"

namespace tavrin {

std::optional<Range> AskForZeroRange(Application& app) {
  RangeOrValue answer = app.InputBox("请选定你要清零的单元格区域", "Lumo提示", Variant(),
                                     Variant(400), Variant(-80), Variant(), Variant(), 8);
  // A cancelled prompt answers False, which is no range.
  if (!answer.IsRange()) return std::nullopt;
  return answer.AsRange();
}

void ForEachCell(const Range& range, const std::function<void(const Range& cell)>& visit) {
  for (const Area& area : range.Areas()) {
    for (int row = area.row; row <= area.LastRow(); ++row) {
      for (int column = area.column; column <= area.LastColumn(); ++column) {
        visit(Range(range.Parent(), Area{row, column, 1, 1}));
      }
    }
  }
}

}  // namespace tavrin
