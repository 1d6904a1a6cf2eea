#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "tools/clean/zero_prompt.h"

namespace tavrin {

// Clears every cell of a range whose value equals zero, formulas included, after a warning.
void Korvel::SCGS0(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport(
      [&] {
        if (!frame.TokenMatches(WD)) return;
        frame.HideForm();

        // The warning; No is the user's choice, not a failure.
        int answer = frame.Message(
            "警告！\n\n"
            "    当“公式的结果为零”时，使用该功能会将“公式”也一并清除掉。\n\n\n"
            "                       是否执行此功能？",
            vbYesNo + vbDefaultButton2);
        if (answer == vbNo) {
          frame.CalledOff(true);
          return;
        }

        frame.EventsOff();
        std::optional<Range> range = AskForZeroRange(frame.App());
        if (!range) {
          frame.CalledOff(true);
          return;
        }

        // Clear every cell whose value compares equal to 0; a text that is no number, or an
        // error value, cannot be compared and ends the run in the failure report.
        ForEachCell(*range, [&](const Range& cell) {
          if (CompareWithNumber(cell.Value(), 0, runtime.Locale()) == 0) cell.ClearContents();
        });

        frame.EventsBack();
        frame.Finished();
      },
      true);
}

}  // namespace tavrin
