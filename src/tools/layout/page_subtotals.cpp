#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::FYXJYHJ(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    if (!frame.TargetWorkbookActive()) return;
    if (!frame.FieldsFilled({"RefEdit1", "RefEdit2", "TextBox1", "TextBox2"})) return;
    frame.EventsOff();
    // The page subtotals are built here.
    frame.EventsBack();
    App().SetScreenUpdating(true);
    frame.UnloadForm();
  });
}

}  // namespace tavrin
