#include "component/korvel.h"
#include "component/run_frame.h"
#include "tools/clean/zero_clearing.h"

namespace tavrin {

namespace {

// A cell holds the constant zero when its formula text is exactly "0": a formula never does,
// whatever its result.
bool HoldsConstantZero(const Range& cell) {
  return cell.Formula() == "0";
}

}  // namespace

// Clears the cells of a range that hold the constant zero. Formula cells stay, whatever their
// result.
void Korvel::SC0(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport(
      [&] {
        if (!frame.TokenMatches(WD)) return;
        frame.EventsOff();
        frame.HideForm();
        ClearZerosOfChosenRange(frame, HoldsConstantZero);
      },
      true);
}

}  // namespace tavrin
