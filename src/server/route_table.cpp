#include "server/route_table.h"

namespace tavrin {

const RouteTable::Route* RouteTable::Find(std::string_view method, std::string_view path,
                                          std::string& allowed) const {
  allowed.clear();
  for (const Route& route : routes) {
    bool matches = route.prefix ? path.starts_with(route.path) : path == route.path;
    if (!matches) continue;
    if (route.method == method) return &route;
    allowed += (allowed.empty() ? "" : ", ") + route.method;
  }
  return nullptr;
}

}  // namespace tavrin
