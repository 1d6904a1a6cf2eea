#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::SJFQ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  frame.EventsOff();
  // The partition is built here.
  frame.EventsBack();
}

}  // namespace tavrin
