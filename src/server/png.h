#pragma once

#include <string>

#include "host/window_system.h"

namespace tavrin {

// A picture as a PNG file: 8-bit RGB, rows unfiltered, deflated with zlib.
std::string EncodePng(const Picture& picture);

}  // namespace tavrin
