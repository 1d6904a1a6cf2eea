#pragma once

#include <string>

namespace tavrin {

// A request the server refuses: the HTTP status, the text the page shows the user, and for a
// refusal the page answers by itself, a word that names it ("exists": Save As found the file).
struct ApiError {
  int status;
  std::string message;
  std::string reason = {};
};

// The answer to a request that would change the session while a run is going.
inline ApiError RunGoing() {
  return {409, "另一个操作正在进行，请先回答它的提示。"};
}

}  // namespace tavrin
