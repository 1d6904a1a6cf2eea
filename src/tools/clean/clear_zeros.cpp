#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::SC0(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport(
      [&] {
        if (!frame.TokenMatches(WD)) return;
        frame.EventsOff();
        frame.HideForm();
        // The zero clearing is built here.
        frame.EventsBack();
      },
      true);
}

void Korvel::SCGS0(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport(
      [&] {
        if (!frame.TokenMatches(WD)) return;
        frame.HideForm();
        // The zero-value clearing is built here.
        frame.EventsBack();
      },
      true);
}

}  // namespace tavrin
