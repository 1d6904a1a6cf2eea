#include "io/child_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "io/file_error.h"

namespace tavrin {

namespace {

// What the child sends first: the work's bytes follow, or a FormatError's message.
constexpr char kDone = 'D';
constexpr char kRefused = 'R';

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = ::write(fd, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

[[noreturn]] void RunChild(int fd, const std::function<std::string()>& work) {
  std::string bytes;
  char outcome = kDone;
  try {
    bytes = work();
  } catch (const FormatError& error) {
    outcome = kRefused;
    bytes = error.what();
  } catch (...) {
    ::_exit(1);
  }
  // No exit handlers, no buffers flushed twice: the parent's are not the child's to run.
  ::_exit(WriteAll(fd, &outcome, 1) && WriteAll(fd, bytes.data(), bytes.size()) ? 0 : 1);
}

}  // namespace

std::string RunInChild(const std::function<std::string()>& work) {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC) != 0) throw FormatError(std::strerror(errno));
  pid_t child = ::fork();
  if (child < 0) {
    int error = errno;
    ::close(fds[0]);
    ::close(fds[1]);
    throw FormatError(std::strerror(error));
  }
  if (child == 0) {
    ::close(fds[0]);
    RunChild(fds[1], work);
  }
  ::close(fds[1]);
  std::string received;
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    received.append(buffer, static_cast<size_t>(got));
  }
  ::close(fds[0]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0 && !received.empty();
  if (!ended) throw FormatError("the workbook is damaged");
  if (received.front() == kRefused) throw FormatError(received.substr(1));
  return received.substr(1);
}

}  // namespace tavrin
