#pragma once

#include <cstdint>
#include <span>

#include "host/window_system.h"

namespace tavrin {

// The pixels of a 24-bit uncompressed Windows bitmap file (rows bottom-up or top-down, each
// padded to 4 bytes). Anything else fails with std::runtime_error.
Picture ReadBitmap(std::span<const std::uint8_t> file);

}  // namespace tavrin
