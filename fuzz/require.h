#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace tavrin {

// Stops the run as a finding when a property does not hold, saying which and on what.
inline void Require(bool holds, std::string_view property, std::string_view detail = {}) {
  if (holds) return;
  std::fprintf(stderr, "broken: %.*s\n%.*s\n", static_cast<int>(property.size()), property.data(),
               static_cast<int>(detail.size()), detail.data());
  std::abort();
}

}  // namespace tavrin
