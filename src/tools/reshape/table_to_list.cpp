#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::BGZQD(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    if (!frame.TargetWorkbookActive()) return;
    if (!frame.FieldsFilled({"RefEdit1", "RefEdit2"})) return;
    frame.EventsOff();
    // The table to list is built here.
    frame.EventsBack();
    frame.UnloadForm();
  });
}

}  // namespace tavrin
