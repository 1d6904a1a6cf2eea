#pragma once

#include "host/window_system.h"

namespace tavrin {

// The face of the information window: the picture shipped as assets/info.bmp, embedded into the
// program when it is built, read once.
const Picture& InfoPicture();

}  // namespace tavrin
