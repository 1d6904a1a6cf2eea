#pragma once

#include <memory>

#include "host/window_system.h"

namespace tavrin {

// The window system of the X display named by DISPLAY, or nullptr when there is none (no
// display, no shape extension, or a screen that is not true-colour). Run its windows with
// RunUntilClosed, or pump it from DoEvents with ProcessPendingEvents.
std::unique_ptr<WindowSystem> OpenX11WindowSystem();

}  // namespace tavrin
