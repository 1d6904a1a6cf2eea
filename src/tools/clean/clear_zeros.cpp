#include "component/korvel.h"
#include "component/run_frame.h"
#include "tools/clean/zero_prompt.h"

namespace tavrin {

// Clears the cells of a range that hold the constant zero: the formula text is exactly "0".
// Formula cells stay, whatever their result.
void Korvel::SC0(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport(
      [&] {
        if (!frame.TokenMatches(WD)) return;
        frame.EventsOff();
        frame.HideForm();

        // Ask for the range; cancelling is the user's choice, not a failure.
        std::optional<Range> range = AskForZeroRange(frame.App());
        if (!range) {
          frame.CalledOff(true);
          return;
        }

        // Clear every cell whose formula text is "0", cell by cell.
        ForEachCell(*range, [](const Range& cell) {
          if (cell.Formula() == "0") cell.ClearContents();
        });

        frame.EventsBack();
        frame.Finished();
      },
      true);
}

}  // namespace tavrin
