#include "server/head_deadline.h"

namespace tavrin {

HeadDeadline::HeadDeadline(Clock::duration longest) : most(longest), watcher([this] { Watch(); }) {}

HeadDeadline::~HeadDeadline() {
  {
    std::lock_guard lock(mutex);
    stopped = true;
    stopping.notify_all();
  }
  watcher.join();
}

void HeadDeadline::Opened(const void* connection, int socket) {
  std::lock_guard lock(mutex);
  connections[connection] = {socket, true, Clock::now()};
}

void HeadDeadline::HeadRead(const void* connection) {
  std::lock_guard lock(mutex);
  if (auto found = connections.find(connection); found != connections.end())
    found->second.reading = false;
}

void HeadDeadline::Answered(const void* connection) {
  std::lock_guard lock(mutex);
  if (auto found = connections.find(connection); found != connections.end())
    found->second = {found->second.socket, true, Clock::now()};
}

// Called before the server closes the socket, so a socket shut here is never another's.
void HeadDeadline::Closed(const void* connection) {
  std::lock_guard lock(mutex);
  connections.erase(connection);
}

void HeadDeadline::Watch() {
  std::unique_lock lock(mutex);
  while (!stopping.wait_for(lock, most / 8, [this] { return stopped; })) {
    Clock::time_point now = Clock::now();
    for (auto& [connection, waiting] : connections) {
      if (!waiting.reading || now - waiting.since < most) continue;
      ::shutdown(waiting.socket, SHUT_RDWR);
      waiting.reading = false;
    }
  }
}

}  // namespace tavrin
