#pragma once

#include <span>
#include <string_view>

namespace tavrin {

// A file of the page (web/), built into the program: its path under web/ and its bytes.
struct WebAsset {
  std::string_view name;
  std::string_view bytes;
};

// Every file of web/, by name.
std::span<const WebAsset> WebAssets();
// The file of that name, or nullptr.
const WebAsset* FindWebAsset(std::string_view name);
// The media type a browser needs for a file, by its extension.
std::string_view MediaType(std::string_view name);

}  // namespace tavrin
