#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::HZCZSZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  // Events go off before the fields are checked; an empty field switches them back on.
  frame.EventsOff();
  if (!frame.FieldsFilled({"RefEdit1", "RefEdit2", "RefEdit4", "RefEdit5"})) {
    frame.EventsBack();
    return;
  }
  frame.HideForm();
  // The index summing lookup is built here.
  frame.EventsBack();
  frame.UnloadForm();
}

}  // namespace tavrin
