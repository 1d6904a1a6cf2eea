#pragma once

#include <sys/socket.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>

namespace tavrin {

// A request's head (its line and headers) must come whole within a time of the connection
// opening, or of the last answer on it: a client that sends it a line at a time is cut off then,
// however busy it keeps the connection. A thread of its own looks once in a while and shuts the
// socket of a connection past its time; the server sees the connection end and closes it.
class HeadDeadline {
 public:
  using Clock = std::chrono::steady_clock;

  explicit HeadDeadline(Clock::duration most);
  ~HeadDeadline();
  HeadDeadline(const HeadDeadline&) = delete;
  HeadDeadline& operator=(const HeadDeadline&) = delete;

  // A connection, by any key that stays its own until Closed, and its socket.
  void Opened(const void* connection, int socket);
  // Its head has come: the request is being answered, with no time set.
  void HeadRead(const void* connection);
  // Its answer is sent: the next head's time starts.
  void Answered(const void* connection);
  void Closed(const void* connection);

 private:
  struct Waiting {
    int socket;
    bool reading;
    Clock::time_point since;
  };
  void Watch();

  Clock::duration most;
  std::mutex mutex;
  std::condition_variable stopping;
  bool stopped = false;
  std::map<const void*, Waiting> connections;
  std::thread watcher;
};

}  // namespace tavrin
