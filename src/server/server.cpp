#include "server/server.h"

#include <charconv>
#include <new>

#include "server/workbench.h"

namespace tavrin {

namespace {

std::string ErrorText(int status) {
  switch (status) {
    case 400:
      return "请求的格式不对。";
    case 403:
      return "拒绝访问：请用 tavrin serve 给出的地址打开。";
    case 404:
      return "没有这个地址。";
    case 405:
      return "这个地址不接受这种请求。";
    case 413:
      return "请求太大：文件最多 64 MB，其他请求最多 1 MB。";
    default:
      return "请求无法处理。";
  }
}

// The body's length as Content-Length gives it, 0 when it gives none; nothing when it is no
// number this server can hold.
std::optional<unsigned long long> DeclaredLength(const RequestHead& head) {
  std::string_view text = head.Header("Content-Length");
  if (text.empty()) return 0;
  unsigned long long length = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), length);
  if (error != std::errc() || end != text.data() + text.size()) return {};
  return length;
}

}  // namespace

Server::Server(const std::filesystem::path& file, const std::string& encoding)
    : bench(std::make_unique<Workbench>(file, encoding)) {
  AddRoutes();
}

Server::~Server() = default;

int Server::Bind(int requested) {
  port = daemon.Bind(requested);
  guard.SetPort(port);
  return port;
}

std::string Server::Address() const {
  return "http://127.0.0.1:" + std::to_string(port) + "/?token=" + guard.Token();
}

bool Server::Listen() {
  return daemon.Serve();
}

void Server::Stop() {
  daemon.Stop();
}

// Before the body is read: a request that fails here costs nothing more.
std::optional<HttpAnswer> Server::Admit(const RequestHead& head, size_t& mostBody) {
  std::optional<unsigned long long> length = DeclaredLength(head);
  if (!length || head.HeaderCount("Host") > 1 || head.HeaderCount("Origin") > 1) {
    return ErrorAnswer(400, ErrorText(400));
  }
  if (!guard.HostAllowed(head.Header("Host")) || !guard.OriginAllowed(head.Header("Origin")) ||
      !guard.TokenGiven(head.Param("token"), head.Header("Cookie"),
                        head.Header("X-Tavrin-Token"))) {
    return ErrorAnswer(403, ErrorText(403));
  }
  std::string allowed;
  const RouteTable::Route* route = routes.Find(head.method, head.path, allowed);
  if (route == nullptr && allowed.empty()) return ErrorAnswer(404, ErrorText(404));
  if (route == nullptr) {
    HttpAnswer refusal = ErrorAnswer(405, ErrorText(405));
    refusal.headers.emplace_back("Allow", allowed);
    return refusal;
  }
  mostBody = route->mostBody;
  if (*length > mostBody) return TooLarge();
  return std::nullopt;
}

HttpAnswer Server::Answer(const RequestHead& head, const std::string& body) {
  std::string allowed;
  const RouteTable::Route* route = routes.Find(head.method, head.path, allowed);
  if (route == nullptr) return ErrorAnswer(404, ErrorText(404));
  HttpAnswer answer;
  try {
    route->handler(head, body, answer);
  } catch (const std::bad_alloc&) {
    answer = ErrorAnswer(500, "内存不足，请求无法处理。");
  } catch (const std::exception&) {
    answer = ErrorAnswer(500, ErrorText(500));
  }
  if (head.HasParam("token")) answer.headers.emplace_back("Set-Cookie", guard.Cookie());
  return answer;
}

HttpAnswer Server::TooLarge() {
  return ErrorAnswer(413, ErrorText(413));
}

}  // namespace tavrin
