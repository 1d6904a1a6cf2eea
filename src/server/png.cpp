#include "server/png.h"

#include <zlib.h>

#include <cstdint>
#include <stdexcept>
#include <string_view>

namespace tavrin {

namespace {

void AppendBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// A chunk: its length, its type and data, and the checksum of both.
void AppendChunk(std::string& png, std::string_view type, std::string_view data) {
  AppendBigEndian(png, static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type) + std::string(data);
  png += body;
  auto crc = crc32(0L, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  AppendBigEndian(png, static_cast<std::uint32_t>(crc));
}

}  // namespace

std::string EncodePng(const Picture& picture) {
  // Each row: the filter type 0 (none), then red, green, blue for every pixel.
  std::string rows;
  for (int y = 0; y < picture.height; ++y) {
    rows += '\0';
    const std::uint8_t* pixel = picture.bgr.data() + static_cast<size_t>(y) * picture.width * 3;
    for (int x = 0; x < picture.width; ++x, pixel += 3) {
      rows += static_cast<char>(pixel[2]);
      rows += static_cast<char>(pixel[1]);
      rows += static_cast<char>(pixel[0]);
    }
  }
  uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
  std::string packed(packedSize, '\0');
  if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()),
                Z_BEST_COMPRESSION) != Z_OK) {
    throw std::runtime_error("the picture could not be compressed");
  }
  packed.resize(packedSize);

  std::string header;
  AppendBigEndian(header, static_cast<std::uint32_t>(picture.width));
  AppendBigEndian(header, static_cast<std::uint32_t>(picture.height));
  header +=
      std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace

  std::string png("\x89PNG\r\n\x1a\n", 8);
  AppendChunk(png, "IHDR", header);
  AppendChunk(png, "IDAT", packed);
  AppendChunk(png, "IEND", {});
  return png;
}

}  // namespace tavrin
