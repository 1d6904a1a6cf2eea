#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "infowindow/bitmap.h"
#include "infowindow/info_picture.h"

namespace tavrin {
namespace {

// A 2 x 2 bitmap file: rows of 6 bytes padded to 8, height negative for top-down.
std::vector<std::uint8_t> TwoByTwo(int height, int bitsPerPixel = 24) {
  std::vector<std::uint8_t> file(54 + 16);
  auto put = [&file](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put(2, file.size());
  put(10, 54);
  put(14, 40);
  put(18, 2);
  put(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = static_cast<std::uint8_t>(bitsPerPixel);
  const std::uint8_t rows[16] = {1, 2, 3, 4, 5, 6, 0xEE, 0xEE, 7, 8, 9, 10, 11, 12, 0xEE, 0xEE};
  std::copy(std::begin(rows), std::end(rows), file.begin() + 54);
  return file;
}

TEST(BitmapTest, RowsComeTopFirstWithoutPadding) {
  Picture bottomUp = ReadBitmap(TwoByTwo(2));
  EXPECT_EQ(bottomUp.width, 2);
  EXPECT_EQ(bottomUp.height, 2);
  EXPECT_EQ(bottomUp.bgr, (std::vector<std::uint8_t>{7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6}));
  Picture topDown = ReadBitmap(TwoByTwo(-2));
  EXPECT_EQ(topDown.bgr, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_THROW(ReadBitmap(TwoByTwo(2, 32)), std::runtime_error);
  std::vector<std::uint8_t> cut = TwoByTwo(2);
  cut.resize(60);
  EXPECT_THROW(ReadBitmap(cut), std::runtime_error);
}

TEST(BitmapTest, TheEmbeddedFaceIsTheShippedPicture) {
  std::ifstream in(TAVRIN_ASSETS "/info.bmp", std::ios::binary);
  std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  ASSERT_EQ(file.size(), 565522u);
  const Picture& face = InfoPicture();
  EXPECT_EQ(face.width, 505);
  EXPECT_EQ(face.height, 373);
  EXPECT_EQ(face.bgr, ReadBitmap(file).bgr);
}

}  // namespace
}  // namespace tavrin
