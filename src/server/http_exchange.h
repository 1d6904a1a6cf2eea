#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin {

using HttpFields = std::vector<std::pair<std::string, std::string>>;

// A request as the server has it once its head is read: what the access guard and the routes
// look at before the body comes.
struct RequestHead {
  std::string method;
  std::string path;    // decoded once, without the query
  HttpFields headers;  // as received, in order
  HttpFields query;    // decoded once

  // The first header of the name, in any case; "" when there is none.
  std::string_view Header(std::string_view name) const;
  size_t HeaderCount(std::string_view name) const;
  // The query parameter's value, "" when it is not there.
  std::string_view Param(std::string_view name) const;
  bool HasParam(std::string_view name) const;
};

// What the server answers.
struct HttpAnswer {
  int status = 200;
  std::string type;
  std::string body;
  HttpFields headers;
};

// A JSON answer {"error": message}.
HttpAnswer ErrorAnswer(int status, const std::string& message);

}  // namespace tavrin
