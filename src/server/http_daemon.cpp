#include "server/http_daemon.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavrin {

namespace {

// Every answer carries these: nothing is cached, nothing sniffed, the address (which holds the
// token) never sent on, and no page may frame ours.
const HttpFields kEveryAnswer = {{"Cache-Control", "no-store"},
                                 {"X-Content-Type-Options", "nosniff"},
                                 {"Referrer-Policy", "no-referrer"},
                                 {"Content-Security-Policy", "frame-ancestors 'none'"}};

// One request on its way: its head, what Admit allows it, and the body read so far.
struct Exchange {
  RequestHead head;
  size_t mostBody = 0;
  std::string body;
  bool answered = false;
};

MHD_Result Collect(void* fields, MHD_ValueKind, const char* key, size_t keySize, const char* value,
                   size_t valueSize) {
  static_cast<HttpFields*>(fields)->emplace_back(
      std::string(key, keySize), value == nullptr ? std::string() : std::string(value, valueSize));
  return MHD_YES;
}

MHD_Result Queue(MHD_Connection* connection, const HttpAnswer& answer) {
  MHD_Response* response = MHD_create_response_from_buffer(
      answer.body.size(), const_cast<char*>(answer.body.data()), MHD_RESPMEM_MUST_COPY);
  if (response == nullptr) return MHD_NO;
  for (const auto& [name, value] : kEveryAnswer) {
    MHD_add_response_header(response, name.c_str(), value.c_str());
  }
  if (!answer.type.empty()) MHD_add_response_header(response, "Content-Type", answer.type.c_str());
  for (const auto& [name, value] : answer.headers) {
    MHD_add_response_header(response, name.c_str(), value.c_str());
  }
  MHD_Result queued =
      MHD_queue_response(connection, static_cast<unsigned>(answer.status), response);
  MHD_destroy_response(response);
  return queued;
}

}  // namespace

// What the library calls, with the daemon as the closure.
struct DaemonHooks {
  // Called once the head is read, then for each piece of the body, then once more at its end.
  static MHD_Result OnRequest(void* cls, MHD_Connection* connection, const char* url,
                              const char* method, const char* version, const char* data,
                              size_t* size, void** context);
  static void OnCompleted(void* cls, MHD_Connection* connection, void** context,
                          MHD_RequestTerminationCode);
  static void OnConnection(void* cls, MHD_Connection* connection, void**,
                           MHD_ConnectionNotificationCode code);
};

MHD_Result DaemonHooks::OnRequest(void* cls, MHD_Connection* connection, const char* url,
                                  const char* method, const char*, const char* data, size_t* size,
                                  void** context) {
  auto& daemon = *static_cast<HttpDaemon*>(cls);
  RequestGate& gate = daemon.gate;
  auto* exchange = static_cast<Exchange*>(*context);
  if (exchange == nullptr) {
    daemon.deadline->HeadRead(connection);
    exchange = new Exchange;
    *context = exchange;
    exchange->head.method = method;
    exchange->head.path = url;
    MHD_get_connection_values_n(connection, MHD_HEADER_KIND, Collect, &exchange->head.headers);
    MHD_get_connection_values_n(connection, MHD_GET_ARGUMENT_KIND, Collect, &exchange->head.query);
    std::optional<HttpAnswer> refusal = gate.Admit(exchange->head, exchange->mostBody);
    if (!refusal) return MHD_YES;  // "100 Continue", when asked for, only now
    exchange->answered = true;
    return Queue(connection, *refusal);
  }
  if (exchange->answered) {
    *size = 0;
    return MHD_YES;
  }
  if (*size > 0) {
    if (*size > exchange->mostBody - exchange->body.size()) {
      // Past the limit in the middle of a body: a 413 where the library still takes an answer,
      // else (it takes none mid-body) the connection is closed; nothing more is read either way.
      exchange->answered = true;
      return Queue(connection, gate.TooLarge());
    }
    exchange->body.append(data, *size);
    *size = 0;
    return MHD_YES;
  }
  exchange->answered = true;
  return Queue(connection, gate.Answer(exchange->head, exchange->body));
}

void DaemonHooks::OnCompleted(void* cls, MHD_Connection* connection, void** context,
                              MHD_RequestTerminationCode) {
  delete static_cast<Exchange*>(*context);
  *context = nullptr;
  static_cast<HttpDaemon*>(cls)->deadline->Answered(connection);
}

void DaemonHooks::OnConnection(void* cls, MHD_Connection* connection, void**,
                               MHD_ConnectionNotificationCode code) {
  HeadDeadline& deadline = *static_cast<HttpDaemon*>(cls)->deadline;
  if (code == MHD_CONNECTION_NOTIFY_CLOSED) {
    deadline.Closed(connection);
    return;
  }
  const MHD_ConnectionInfo* info =
      MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CONNECTION_FD);
  if (info != nullptr) deadline.Opened(connection, info->connect_fd);
}

HttpDaemon::~HttpDaemon() {
  if (listening >= 0) ::close(listening);
}

int HttpDaemon::Bind(int port) {
  // A socket that could not be made (-1) fails bind in turn.
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  // Lets a restarted server take its port back from connections still closing. On Linux it never
  // lets a second socket listen on a port one listens on (that is SO_REUSEPORT, not set).
  int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, kBacklog) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    return -1;
  }
  listening = fd;
  return ntohs(address.sin_port);
}

bool HttpDaemon::Serve() {
  if (listening < 0) return false;
  HeadDeadline heads(kHeadTime);
  deadline = &heads;
  MHD_Daemon* daemon = MHD_start_daemon(
      MHD_USE_THREAD_PER_CONNECTION | MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_POLL, 0, nullptr,
      nullptr, &DaemonHooks::OnRequest, this, MHD_OPTION_LISTEN_SOCKET, listening,
      MHD_OPTION_CONNECTION_LIMIT, kMostConnections, MHD_OPTION_CONNECTION_MEMORY_LIMIT,
      kConnectionMemory, MHD_OPTION_CONNECTION_TIMEOUT, kIdleSeconds, MHD_OPTION_STRICT_FOR_CLIENT,
      1, MHD_OPTION_NOTIFY_COMPLETED, &DaemonHooks::OnCompleted, this, MHD_OPTION_NOTIFY_CONNECTION,
      &DaemonHooks::OnConnection, this, MHD_OPTION_END);
  if (daemon == nullptr) return false;
  {
    std::unique_lock lock(mutex);
    stopping.wait(lock, [this] { return stopped; });
  }
  // Closes the listening socket and every connection, a half-sent request's too.
  MHD_stop_daemon(daemon);
  deadline = nullptr;
  listening = -1;
  return true;
}

void HttpDaemon::Stop() {
  std::lock_guard lock(mutex);
  stopped = true;
  stopping.notify_all();
}

}  // namespace tavrin
