#include "io/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "io/file_error.h"
#include "io/temporary_file.h"

namespace tavrin {

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    throw FileError::Open(
        path, std::filesystem::exists(path, error) ? "it is not a file" : "no such file");
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (!in) throw FileError::Open(path, std::strerror(errno));
  return std::move(bytes).str();
}

namespace {

// Symbolic links followed in a row before giving up, as the system does (ELOOP).
constexpr int kMostLinks = 40;

// A new file gets the permissions the user's umask allows; a replaced one keeps its own.
mode_t ModeFor(const std::filesystem::path& path) {
  struct stat existing {};
  if (::stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

// The file a write to the path lands in: the path, or where its symbolic links lead (followed
// to the end, even to a file not there yet); a loop of links fails.
std::filesystem::path WriteTarget(const std::filesystem::path& path) {
  std::filesystem::path target = path;
  for (int links = 0; links <= kMostLinks; ++links) {
    std::error_code error;
    if (!std::filesystem::is_symlink(target, error)) return target;
    std::filesystem::path next = std::filesystem::read_symlink(target, error);
    if (error) throw FileError::Save(path, error.message());
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  throw FileError::Save(path, std::strerror(ELOOP));
}

}  // namespace

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
  std::filesystem::path target = WriteTarget(path);
  std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
  std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  TemporaryFileGuard guard;
  int fd = guard.Create(temporary);
  if (fd < 0) throw FileError::Save(path, std::strerror(errno));
  bool written = WriteAll(fd, bytes) && ::fchmod(fd, ModeFor(target)) == 0 && ::fsync(fd) == 0;
  int savedErrno = errno;
  written = ::close(fd) == 0 && written;
  if (written && ::rename(temporary.c_str(), target.c_str()) == 0) return;
  if (written) savedErrno = errno;
  ::unlink(temporary.c_str());
  throw FileError::Save(path, std::strerror(savedErrno));
}

}  // namespace tavrin
