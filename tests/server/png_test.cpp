#include "server/png.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <string>

namespace tavrin {
namespace {

std::uint32_t BigEndian(const std::string& bytes, size_t at) {
  std::uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  return value;
}

// The pixel rows a PNG file holds, inflated: each a filter byte, then red, green, blue.
std::string InflatedRows(const std::string& png, size_t size) {
  std::string packed;
  for (size_t at = 8; at + 8 <= png.size();) {
    std::uint32_t length = BigEndian(png, at);
    if (png.compare(at + 4, 4, "IDAT") == 0) packed += png.substr(at + 8, length);
    at += 12 + length;
  }
  std::string rows(size, '\0');
  uLongf rowsSize = size;
  EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(rows.data()), &rowsSize,
                       reinterpret_cast<const Bytef*>(packed.data()), packed.size()),
            Z_OK);
  rows.resize(rowsSize);
  return rows;
}

TEST(PngTest, APictureOfBlueGreenRedPixelsIsWrittenRowByRowInRedGreenBlue) {
  Picture picture;
  picture.width = 2;
  picture.height = 2;
  picture.bgr = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  std::string png = EncodePng(picture);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(BigEndian(png, 16), 2u);
  EXPECT_EQ(BigEndian(png, 20), 2u);
  std::string expected = {0, 3, 2, 1, 6, 5, 4, 0, 9, 8, 7, 12, 11, 10};
  EXPECT_EQ(InflatedRows(png, 64), expected);
}

}  // namespace
}  // namespace tavrin
