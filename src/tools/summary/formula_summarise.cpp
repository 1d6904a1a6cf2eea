#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::HZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  if (!frame.FieldsFilled({"RefEdit1", "RefEdit2", "RefEdit3", "RefEdit4"})) return;
  frame.HideForm();
  frame.EventsOff();
  // The formula summarise is built here.
  frame.UnloadForm();
  frame.EventsBack();
}

}  // namespace tavrin
