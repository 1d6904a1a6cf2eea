#include "infowindow/xvfb_server.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <sstream>

namespace tavrin {

bool XvfbServer::Installed() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path != nullptr ? path : "/usr/bin");
  for (std::string folder; std::getline(folders, folder, ':');) {
    if (access((folder + "/Xvfb").c_str(), X_OK) == 0) return true;
  }
  return false;
}

XvfbServer::XvfbServer() {
  int ready[2];
  if (pipe(ready) != 0) return;
  pid = fork();
  if (pid == 0) {
    // The server writes its display number to the pipe once it takes connections.
    close(ready[0]);
    int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDERR_FILENO);
    std::string fd = std::to_string(ready[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
           "tcp", nullptr);
    _exit(127);
  }
  close(ready[1]);
  std::string number;
  pollfd wait{ready[0], POLLIN, 0};
  char c;
  while (poll(&wait, 1, 10000) > 0 && read(ready[0], &c, 1) == 1 && c != '\n') number += c;
  close(ready[0]);
  if (!number.empty()) displayName = ":" + number;
}

XvfbServer::~XvfbServer() {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
}

}  // namespace tavrin
