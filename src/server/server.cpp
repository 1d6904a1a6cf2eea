#include "server/server.h"

#include <httplib.h>

#include <nlohmann/json.hpp>

#include "server/workbench.h"

namespace tavrin {

namespace {

void SendError(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(nlohmann::json{{"error", message}}.dump(), "application/json");
}

std::string ErrorText(int status) {
  switch (status) {
    case 403:
      return "拒绝访问：请用 tavrin serve 给出的地址打开。";
    case 404:
      return "没有这个地址。";
    case 413:
      return "文件太大：最多 64 MB。";
    default:
      return "请求无法处理。";
  }
}

}  // namespace

Server::Server(const std::filesystem::path& file, const std::string& encoding)
    : bench(std::make_unique<Workbench>(file, encoding)),
      http(std::make_unique<httplib::Server>()) {
  http->set_payload_max_length(kMostUpload);
  http->set_default_headers({{"Cache-Control", "no-store"},
                             {"X-Content-Type-Options", "nosniff"},
                             {"Referrer-Policy", "no-referrer"},
                             {"Content-Security-Policy", "frame-ancestors 'none'"}});
  // Before the body is read: a request that fails the guard costs nothing more.
  http->set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    bool allowed = guard.HostAllowed(req.get_header_value("Host")) &&
                   guard.OriginAllowed(req.get_header_value("Origin")) &&
                   guard.TokenGiven(req.get_param_value("token"), req.get_header_value("Cookie"),
                                    req.get_header_value("X-Tavrin-Token"));
    if (!allowed) {
      SendError(res, 403, ErrorText(403));
      return httplib::Server::HandlerResponse::Handled;
    }
    if (req.has_param("token")) res.set_header("Set-Cookie", guard.Cookie());
    return httplib::Server::HandlerResponse::Unhandled;
  });
  // Refusals of the library itself (no such route, a body too large) in the API's form.
  http->set_error_handler(
      httplib::Server::HandlerWithResponse([](const httplib::Request&, httplib::Response& res) {
        if (!res.body.empty()) return httplib::Server::HandlerResponse::Unhandled;
        SendError(res, res.status, ErrorText(res.status));
        return httplib::Server::HandlerResponse::Handled;
      }));
  AddRoutes();
}

Server::~Server() = default;

int Server::Bind(int requested) {
  if (requested == 0) {
    port = http->bind_to_any_port("127.0.0.1");
  } else {
    port = http->bind_to_port("127.0.0.1", requested) ? requested : -1;
  }
  guard.SetPort(port);
  return port;
}

std::string Server::Address() const {
  return "http://127.0.0.1:" + std::to_string(port) + "/?token=" + guard.Token();
}

void Server::Listen() {
  http->listen_after_bind();
}

void Server::Stop() {
  http->stop();
}

}  // namespace tavrin
