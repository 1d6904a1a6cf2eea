#include "component/korvel.h"
#include "component/run_frame.h"
#include "host/variant_rules.h"
#include "tools/clean/zero_clearing.h"

namespace tavrin {

namespace {

// The warning that formulas go too; No is the user's choice, not a failure, and calls the run
// off with the form shown again.
bool WarningAccepted(RunFrame& frame) {
  int answer = frame.Message(
      "警告！\n\n"
      "    当“公式的结果为零”时，使用该功能会将“公式”也一并清除掉。\n\n\n"
      "                       是否执行此功能？",
      vbYesNo + vbDefaultButton2);
  if (answer != vbNo) return true;
  frame.CalledOff(true);
  return false;
}

}  // namespace

// Clears every cell of a range whose value equals zero, formulas included, after a warning. A
// text that is no number, or an error value, cannot be compared with 0 and ends the run in the
// failure report.
void Korvel::SCGS0(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport(
      [&] {
        if (!frame.TokenMatches(WD)) return;
        frame.HideForm();
        if (!WarningAccepted(frame)) return;
        frame.EventsOff();
        ClearZerosOfChosenRange(frame, [&](const Range& cell) {
          return CompareWithNumber(cell.Value(), 0, runtime.Locale()) == 0;
        });
      },
      true);
}

}  // namespace tavrin
