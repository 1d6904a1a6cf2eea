#include "infowindow/bitmap.h"

#include <cstdlib>
#include <stdexcept>

namespace tavrin {

namespace {

std::uint32_t Little(std::span<const std::uint8_t> bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

}  // namespace

Picture ReadBitmap(std::span<const std::uint8_t> file) {
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M' || Little(file, 28, 2) != 24 ||
      Little(file, 30, 4) != 0) {
    throw std::runtime_error("not an uncompressed 24-bit bitmap");
  }
  std::uint32_t offset = Little(file, 10, 4);
  auto width = static_cast<std::int32_t>(Little(file, 18, 4));
  auto height = static_cast<std::int32_t>(Little(file, 22, 4));
  bool bottomUp = height > 0;
  Picture picture{width, std::abs(height), {}};
  std::size_t rowBytes = static_cast<std::size_t>(width) * 3;
  std::size_t stride = (rowBytes + 3) / 4 * 4;
  if (width <= 0 || offset + stride * picture.height > file.size()) {
    throw std::runtime_error("bitmap pixels missing");
  }
  picture.bgr.reserve(rowBytes * picture.height);
  for (int y = 0; y < picture.height; ++y) {
    std::size_t row = offset + stride * (bottomUp ? picture.height - 1 - y : y);
    picture.bgr.insert(picture.bgr.end(), file.begin() + row, file.begin() + row + rowBytes);
  }
  return picture;
}

}  // namespace tavrin
