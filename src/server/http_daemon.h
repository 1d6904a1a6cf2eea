#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>

#include "server/head_deadline.h"
#include "server/http_exchange.h"

namespace tavrin {

// What answers the daemon's requests.
class RequestGate {
 public:
  virtual ~RequestGate() = default;
  // The head is read: a refusal to send at once (the body is then never read), or nothing and
  // the most body bytes the request may send.
  virtual std::optional<HttpAnswer> Admit(const RequestHead& head, size_t& mostBody) = 0;
  // The whole request is read.
  virtual HttpAnswer Answer(const RequestHead& head, const std::string& body) = 0;
  // The body went past what Admit allowed (a chunked body says its size only as it comes).
  virtual HttpAnswer TooLarge() = 0;
};

// HTTP/1.1 on a port of 127.0.0.1, by libmicrohttpd: a thread of its own for each connection, so
// a slow client holds up no one else, and every limit held by the library as it reads (see
// docs/server.md, "Limits").
class HttpDaemon {
 public:
  static constexpr unsigned kMostConnections = 64;
  // A connection's memory for its request line and headers, and the read buffer besides: a
  // larger head is refused (431) before more of it is read.
  static constexpr size_t kConnectionMemory = size_t{32} << 10;
  // A connection that sends nothing for this long is closed.
  static constexpr unsigned kIdleSeconds = 30;
  // A request's head must come whole within this time of the connection opening or of the last
  // answer on it.
  static constexpr auto kHeadTime = std::chrono::seconds(10);
  static constexpr int kBacklog = 128;

  explicit HttpDaemon(RequestGate& answering) : gate(answering) {}
  ~HttpDaemon();
  HttpDaemon(const HttpDaemon&) = delete;
  HttpDaemon& operator=(const HttpDaemon&) = delete;

  // Binds 127.0.0.1 on the port, any free one for 0, and listens; the port, or -1 when it cannot
  // (a port another server holds is never shared).
  int Bind(int port);
  // Answers requests until Stop; every connection is closed when it returns. False when the
  // daemon could not start.
  bool Serve();
  void Stop();

 private:
  friend struct DaemonHooks;

  RequestGate& gate;
  HeadDeadline* deadline = nullptr;  // while serving
  int listening = -1;
  std::mutex mutex;
  std::condition_variable stopping;
  bool stopped = false;
};

}  // namespace tavrin
