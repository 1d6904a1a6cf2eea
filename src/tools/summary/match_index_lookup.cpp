#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::DSYCZ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  if (!frame.TokenMatches(WD)) return;
  if (!frame.TargetWorkbookActive()) return;
  if (!frame.FieldsFilled({"RefEdit1", "RefEdit2", "RefEdit3", "RefEdit4", "RefEdit5"})) return;
  frame.EventsOff();
  // The match-index lookup is built here.
  frame.EventsBack();
  frame.UnloadForm();
}

}  // namespace tavrin
