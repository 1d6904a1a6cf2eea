#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "server/access_guard.h"
#include "server/http_daemon.h"
#include "server/route_table.h"

namespace tavrin {

class Workbench;

// `tavrin serve`: one workbook in the browser. The page, its files and the API answer on
// 127.0.0.1 only, to requests that pass the access guard.
class Server : public RequestGate {
 public:
  // The largest workbook a page may upload.
  static constexpr size_t kMostUpload = size_t{64} << 20;
  // The largest JSON body of a request.
  static constexpr size_t kMostJson = size_t{1} << 20;

  // Opens the workbook (FileError when it cannot be read).
  explicit Server(const std::filesystem::path& file, const std::string& encoding = {});
  ~Server() override;

  // Binds 127.0.0.1 on the port, any free one for 0; the port bound, or -1 when it cannot.
  int Bind(int port);
  // What to open in a browser: http://127.0.0.1:PORT/?token=TOKEN
  std::string Address() const;
  const std::string& Token() const { return guard.Token(); }
  // Answers requests until Stop, which closes every connection; false when it cannot start.
  bool Listen();
  void Stop();

  // The requests, as the daemon hands them over (and the fuzz target, without a socket).
  std::optional<HttpAnswer> Admit(const RequestHead& head, size_t& mostBody) override;
  HttpAnswer Answer(const RequestHead& head, const std::string& body) override;
  HttpAnswer TooLarge() override;

 private:
  void AddRoutes();

  AccessGuard guard;
  int port = -1;
  std::unique_ptr<Workbench> bench;
  RouteTable routes;
  HttpDaemon daemon{*this};
};

}  // namespace tavrin
