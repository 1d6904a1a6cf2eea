#include "server/web_assets.h"

#include <utility>

namespace tavrin {

const WebAsset* FindWebAsset(std::string_view name) {
  for (const WebAsset& asset : WebAssets()) {
    if (asset.name == name) return &asset;
  }
  return nullptr;
}

std::string_view MediaType(std::string_view name) {
  static const std::pair<std::string_view, std::string_view> types[] = {
      {".html", "text/html; charset=utf-8"},
      {".js", "text/javascript; charset=utf-8"},
      {".css", "text/css; charset=utf-8"},
      {".json", "application/json"},
      {".png", "image/png"},
      {".svg", "image/svg+xml"},
      {".ico", "image/x-icon"},
      {".woff2", "font/woff2"},
  };
  for (const auto& [extension, type] : types) {
    if (name.ends_with(extension)) return type;
  }
  return "application/octet-stream";
}

}  // namespace tavrin
