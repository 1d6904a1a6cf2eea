#include "component/korvel.h"

namespace tavrin {

// The information window opens here.
void Korvel::ShowInfo() {}

}  // namespace tavrin
