#include "component/korvel.h"
#include "infowindow/peltoinfo.h"

namespace tavrin {

// A new information window each call, shown modeless; returns at once. The window system keeps
// the form until it unloads. The fade-in is the form's Activate, which the window system
// delivers on its next pass over pending events (the host's event loop, or any DoEvents),
// as the form runtime activates a modeless form after Show has returned; ShowInfo itself does
// not wait out the 2 seconds.
void Korvel::ShowInfo() {
  Peltoinfo::ShowNew(runtime);
}

}  // namespace tavrin
