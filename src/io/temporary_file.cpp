#include "io/temporary_file.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <iterator>

namespace tavrin {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGXFSZ};

// The path the handler removes; empty when no write is under way.
char registered[PATH_MAX];  // with its terminating zero, as PATH_MAX counts it
// The actions found before, put back when the write ends. A signal the process ignores stays
// ignored (a write past the file size limit then fails with EFBIG instead).
struct sigaction previous[std::size(kSignals)];
bool installed[std::size(kSignals)];

void RemoveAndStop(int signal) {
  if (registered[0] != '\0') ::unlink(registered);
  registered[0] = '\0';
  struct sigaction defaultAction {};
  defaultAction.sa_handler = SIG_DFL;
  ::sigemptyset(&defaultAction.sa_mask);
  ::sigaction(signal, &defaultAction, nullptr);
  ::raise(signal);
}

// Holds the guarded signals off for its lifetime, so the registration changes in one step.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t held;
    ::sigemptyset(&held);
    for (int signal : kSignals) ::sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &before);
  }
  ~SignalsHeld() { ::sigprocmask(SIG_SETMASK, &before, nullptr); }

 private:
  sigset_t before;
};

}  // namespace

int TemporaryFileGuard::Create(std::string& pathTemplate) {
  Release();
  if (pathTemplate.size() >= sizeof registered) {
    errno = ENAMETOOLONG;
    return -1;
  }
  SignalsHeld held;
  int fd = ::mkstemp(pathTemplate.data());
  if (fd < 0) return -1;
  std::memcpy(registered, pathTemplate.c_str(), pathTemplate.size() + 1);
  struct sigaction action {};
  action.sa_handler = RemoveAndStop;
  ::sigemptyset(&action.sa_mask);
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    ::sigaction(kSignals[i], nullptr, &previous[i]);
    installed[i] = previous[i].sa_handler != SIG_IGN;
    if (installed[i]) ::sigaction(kSignals[i], &action, nullptr);
  }
  return fd;
}

void TemporaryFileGuard::Release() {
  SignalsHeld held;
  if (registered[0] == '\0') return;
  registered[0] = '\0';
  for (size_t i = 0; i < std::size(kSignals); ++i) {
    if (installed[i]) ::sigaction(kSignals[i], &previous[i], nullptr);
  }
}

std::string TemporaryFileGuard::Registered() {
  return registered;
}

}  // namespace tavrin
