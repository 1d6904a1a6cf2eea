#include "component/korvel.h"
#include "component/run_frame.h"

namespace tavrin {

void Korvel::HzCzBcf(const std::string& WD, Form& Obj1) {
  RunFrame frame(*this, Obj1);
  frame.WithFailureReport([&] {
    if (!frame.TokenMatches(WD)) return;
    // Attach to the running host afresh; keep the events setting found, then events off.
    frame.UseApplication(runtime.GetObject("excel.application"));
    frame.KeepEventsAndOff();
    // The keyed summarise and lookup is built here.
    frame.EventsBack();
    frame.UnloadForm();
  });
}

}  // namespace tavrin
