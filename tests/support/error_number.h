#pragma once

#include <functional>

#include "host/host_error.h"

namespace tavrin {

// The host's error number a call fails with, or 0 when it does not fail.
inline int ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const HostError& error) {
    return error.Number();
  }
  return 0;
}

}  // namespace tavrin
