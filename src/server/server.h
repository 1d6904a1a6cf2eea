#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "server/access_guard.h"

namespace httplib {
class Server;
}  // namespace httplib

namespace tavrin {

class Workbench;

// `tavrin serve`: one workbook in the browser. The page, its files and the API answer on
// 127.0.0.1 only, to requests that pass the access guard.
class Server {
 public:
  // The largest workbook a page may upload.
  static constexpr size_t kMostUpload = size_t{64} << 20;

  // Opens the workbook (FileError when it cannot be read).
  explicit Server(const std::filesystem::path& file, const std::string& encoding = {});
  ~Server();

  // Binds 127.0.0.1 on the port, any free one for 0; the port bound, or -1 when it cannot.
  int Bind(int port);
  // What to open in a browser: http://127.0.0.1:PORT/?token=TOKEN
  std::string Address() const;
  const std::string& Token() const { return guard.Token(); }
  // Answers requests until Stop.
  void Listen();
  void Stop();

 private:
  void AddRoutes();

  AccessGuard guard;
  int port = -1;
  std::unique_ptr<Workbench> bench;
  std::unique_ptr<httplib::Server> http;
};

}  // namespace tavrin
