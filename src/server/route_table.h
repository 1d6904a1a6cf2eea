#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "server/http_exchange.h"

namespace tavrin {

// The server's routes: a method and a path (or a path prefix ending in "/": the folder and
// every path in it), the most body bytes a request of the route may send, and what answers it.
class RouteTable {
 public:
  using Handler = std::function<void(const RequestHead&, const std::string& body, HttpAnswer&)>;
  struct Route {
    std::string method;
    std::string path;
    bool prefix = false;
    size_t mostBody = 0;
    Handler handler;
  };

  void Add(Route route) { routes.push_back(std::move(route)); }
  // The route for the method and path; nullptr when none, with the methods the path takes
  // ("GET, POST") in allowed, or "" when no route has the path at all.
  const Route* Find(std::string_view method, std::string_view path, std::string& allowed) const;

 private:
  std::vector<Route> routes;
};

}  // namespace tavrin
