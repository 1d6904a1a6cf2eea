#pragma once

#include <string>
#include <string_view>

namespace tavrin {

// Who may use the server: a request must name it by its loopback address and port (Host:
// 127.0.0.1:PORT or localhost:PORT in any case, so a foreign name resolving to the loopback address
// is refused), come from its own page when it comes from a page at all (Origin), and carry its
// token in the query (?token=), the cookie tavrin_token or the header X-Tavrin-Token.
class AccessGuard {
 public:
  // A token of 32 hexadecimal digits from the random device.
  AccessGuard();

  const std::string& Token() const { return token; }
  void SetPort(int listening) { port = listening; }

  bool HostAllowed(std::string_view host) const;
  // An empty origin (no header) is allowed.
  bool OriginAllowed(std::string_view origin) const;
  // Whether any of the three places holds the token.
  bool TokenGiven(std::string_view query, std::string_view cookies, std::string_view header) const;
  // The Set-Cookie value that lets the page's later requests carry the token.
  std::string Cookie() const;

 private:
  bool IsToken(std::string_view given) const;

  std::string token;
  int port = 0;
};

}  // namespace tavrin
