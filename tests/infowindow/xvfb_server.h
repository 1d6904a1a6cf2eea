#pragma once

#include <sys/types.h>

#include <string>

namespace tavrin {

// An Xvfb of its own for a test: a 1024 x 768 true-colour screen on a free display number,
// stopped when this goes away.
class XvfbServer {
 public:
  XvfbServer();
  ~XvfbServer();
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  static bool Installed();
  // ":N" once the server is ready; empty if it did not start.
  const std::string& DisplayName() const { return displayName; }

 private:
  pid_t pid = -1;
  std::string displayName;
};

}  // namespace tavrin
