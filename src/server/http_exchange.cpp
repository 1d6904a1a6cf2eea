#include "server/http_exchange.h"

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>

namespace tavrin {

namespace {

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::string_view RequestHead::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameName(key, name)) return value;
  }
  return {};
}

size_t RequestHead::HeaderCount(std::string_view name) const {
  return std::ranges::count_if(headers,
                               [&](const auto& field) { return SameName(field.first, name); });
}

std::string_view RequestHead::Param(std::string_view name) const {
  for (const auto& [key, value] : query) {
    if (key == name) return value;
  }
  return {};
}

bool RequestHead::HasParam(std::string_view name) const {
  return std::ranges::any_of(query, [&](const auto& field) { return field.first == name; });
}

HttpAnswer ErrorAnswer(int status, const std::string& message) {
  return {status, "application/json", nlohmann::json{{"error", message}}.dump(), {}};
}

}  // namespace tavrin
