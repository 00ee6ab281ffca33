#include "render/picture_framing.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::uint8_t> grey(const std::vector<int>& values) {
  std::vector<std::uint8_t> rgb;
  for (int v : values) rgb.insert(rgb.end(), 3, std::uint8_t(v));
  return rgb;
}
}  // namespace

// Each written pixel is the rounded mean of its 2 x 2 block: (0+1+2+4)/4 =
// 1.75 -> 2, (10+20+30+41)/4 = 25.25 -> 25, (255 * 3 + 254)/4 = 254.75 -> 255.
TEST(PictureFraming, SupersampledPixelsAreTheRoundedMeansOfTheirBlocks) {
  std::vector<std::uint8_t> picture = grey({
      0, 1, 10, 20, 255, 255, 9, 9,  //
      2, 4, 30, 41, 255, 254, 9, 9,  //
      0, 0, 0,  0,  0,   0,   0, 0,  //
      0, 0, 0,  0,  0,   0,   0, 1,  //
      0, 0, 0,  0,  0,   0,   0, 0,  //
      0, 0, 0,  0,  0,   0,   2, 0,  //
  });
  std::vector<std::uint8_t> frame;
  framePicture(picture, 8, 6, 2, 4, 3, frame);
  EXPECT_EQ(frame, grey({2, 25, 255, 9, 0, 0, 0, 0, 0, 0, 0, 1}));
}

// A 16:9 frame gets the 4:3 picture in its middle columns, black bars
// beside it; a 4:3 picture in a taller frame gets bars above and below.
TEST(PictureFraming, AnotherShapeCentresThePictureBetweenBlackBars) {
  std::vector<std::uint8_t> wide(size_t(1440) * 1080 * 3, 200);
  std::vector<std::uint8_t> frame;
  framePicture(wide, 1440, 1080, 1, 1920, 1080, frame);
  ASSERT_EQ(frame.size(), size_t(1920) * 1080 * 3);
  for (int y : {0, 539, 1079}) {
    const size_t row = size_t(y) * 1920 * 3;
    EXPECT_EQ(frame[row + 239 * 3], 0) << y;
    EXPECT_EQ(frame[row + 240 * 3], 200) << y;
    EXPECT_EQ(frame[row + 1679 * 3 + 2], 200) << y;
    EXPECT_EQ(frame[row + 1680 * 3], 0) << y;
  }
  std::vector<std::uint8_t> tall(size_t(1280) * 960 * 3, 90);
  framePicture(tall, 1280, 960, 1, 1280, 1024, frame);
  EXPECT_EQ(frame[size_t(31) * 1280 * 3], 0);
  EXPECT_EQ(frame[size_t(32) * 1280 * 3], 90);
  EXPECT_EQ(frame[size_t(991) * 1280 * 3 + 5], 90);
  EXPECT_EQ(frame[size_t(992) * 1280 * 3], 0);
}
