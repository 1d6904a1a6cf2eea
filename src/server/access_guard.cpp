#include "server/access_guard.h"

#include <cctype>
#include <random>

namespace tavrin {

namespace {

constexpr std::string_view kCookieName = "tavrin_token";

// The value of a cookie in a Cookie header ("a=1; tavrin_token=..."), or "".
std::string_view CookieValue(std::string_view cookies, std::string_view name) {
  while (!cookies.empty()) {
    size_t end = cookies.find(';');
    std::string_view pair = cookies.substr(0, end);
    while (pair.starts_with(' ')) pair.remove_prefix(1);
    if (pair.starts_with(name) && pair.substr(name.size()).starts_with('=')) {
      return pair.substr(name.size() + 1);
    }
    if (end == std::string_view::npos) break;
    cookies.remove_prefix(end + 1);
  }
  return {};
}

// Host names and URL schemes are the same in any case.
std::string Lowered(std::string_view text) {
  std::string lowered(text);
  for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lowered;
}

}  // namespace

AccessGuard::AccessGuard() {
  std::random_device device;
  const char* digits = "0123456789abcdef";
  for (int i = 0; i < 32; ++i) token += digits[device() % 16];
}

bool AccessGuard::HostAllowed(std::string_view given) const {
  std::string host = Lowered(given);
  std::string suffix = ":" + std::to_string(port);
  return host == "127.0.0.1" + suffix || host == "localhost" + suffix;
}

bool AccessGuard::OriginAllowed(std::string_view given) const {
  std::string origin = Lowered(given);
  std::string suffix = ":" + std::to_string(port);
  return origin.empty() || origin == "http://127.0.0.1" + suffix ||
         origin == "http://localhost" + suffix;
}

// Compared in full whatever differs, so the time taken tells nothing of the token.
bool AccessGuard::IsToken(std::string_view given) const {
  if (given.size() != token.size()) return false;
  unsigned char difference = 0;
  for (size_t i = 0; i < token.size(); ++i) difference |= given[i] ^ token[i];
  return difference == 0;
}

bool AccessGuard::TokenGiven(std::string_view query, std::string_view cookies,
                             std::string_view header) const {
  return IsToken(query) || IsToken(CookieValue(cookies, kCookieName)) || IsToken(header);
}

std::string AccessGuard::Cookie() const {
  return std::string(kCookieName) + "=" + token + "; HttpOnly; SameSite=Strict; Path=/";
}

}  // namespace tavrin
