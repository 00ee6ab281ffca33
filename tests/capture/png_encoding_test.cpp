#include <gtest/gtest.h>
#include <stb_image.h>

#include "capture/png_encoding.h"

namespace {
TEST(PngEncoding, DecodesBackToTheSamePixelsTopRowFirstAndIsTheSameBytesEveryTime) {
  const int width = 37, height = 11;  // rows not a multiple of four bytes
  std::vector<uint8_t> rgb(width * height * 3);
  for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(i * 7 + i / 97);
  const std::vector<uint8_t> png = encodePng(rgb.data(), width, height);
  EXPECT_EQ(png, encodePng(rgb.data(), width, height));

  int w = 0, h = 0, channels = 0;
  uint8_t* back = stbi_load_from_memory(png.data(), static_cast<int>(png.size()), &w, &h, &channels, 3);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
  EXPECT_TRUE(std::equal(rgb.begin(), rgb.end(), back));
  stbi_image_free(back);
}
}  // namespace
