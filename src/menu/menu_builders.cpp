#include "component/korvel.h"

namespace tavrin {

// The menu and the toolbar are filled from the command table.
void Korvel::BuildMenu() {}

void Korvel::BuildToolbar() {}

}  // namespace tavrin
