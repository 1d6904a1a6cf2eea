#pragma once

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "require.h"

namespace tavrin {

// A folder of this process's own for the files its inputs need, removed when the process ends
// however it ends (libFuzzer may end it in the middle of an input, with no exit handlers run): a
// child process made for it waits on a pipe only this process writes to, and once the pipe
// closes with this process's end, removes the folder.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrin-fuzz-XXXXXX").string();
    Require(mkdtemp(pattern.data()) != nullptr, "a temporary folder can be made", pattern);
    int ends[2];
    Require(pipe(ends) == 0, "a pipe can be made");
    pid_t child = fork();
    Require(child >= 0, "a process can be made");
    if (child == 0) {
      // Ctrl-C reaches the whole group: the remover stays until the fuzzer is gone.
      signal(SIGINT, SIG_IGN);
      signal(SIGTERM, SIG_IGN);
      close(ends[1]);
      char byte;
      while (read(ends[0], &byte, 1) != 0 && errno == EINTR) {
      }
      std::error_code ignored;
      std::filesystem::remove_all(pattern, ignored);
      _exit(0);
    }
    close(ends[0]);
    return std::filesystem::path(pattern);
  }();
  return folder;
}

}  // namespace tavrin
