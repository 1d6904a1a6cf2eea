#pragma once

#include <string>

namespace tavrin {

// The temporary file a write is making, removed should the process be stopped by SIGINT,
// SIGTERM or SIGXFSZ before the write ends: the signal handler unlinks it and then lets the
// signal take its default action. One file at a time; the path is kept in a fixed buffer so the
// handler does nothing a signal handler may not do.
class TemporaryFileGuard {
 public:
  // Makes a temporary file from the template (ending in "XXXXXX", see mkstemp) and returns its
  // descriptor, or -1 with errno set. The signals are held off until the file is registered.
  int Create(std::string& pathTemplate);
  // The file is no longer the guard's: renamed into place, or removed.
  void Release();
  ~TemporaryFileGuard() { Release(); }

  // The temporary file a signal would remove now, "" when none.
  static std::string Registered();
};

}  // namespace tavrin
