#include "core/picture_size.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {
std::tuple<int, int, int, int> fit(int width, int height) {
  const PictureRect r = fitPicture(width, height);
  return {r.x, r.y, r.width, r.height};
}
}  // namespace

// Worked out by hand: the height limits a wide screen, the width a tall one.
TEST(PictureSize, FitsTheLargestCentredFourByThreePicture) {
  EXPECT_EQ(fit(800, 600), std::tuple(0, 0, 800, 600));
  EXPECT_EQ(fit(1920, 1080), std::tuple(240, 0, 1440, 1080));
  EXPECT_EQ(fit(2560, 1440), std::tuple(320, 0, 1920, 1440));
  EXPECT_EQ(fit(1280, 1024), std::tuple(0, 32, 1280, 960));
  EXPECT_EQ(fit(3840, 2160), std::tuple(480, 0, 2880, 2160));
  EXPECT_EQ(fit(1366, 768), std::tuple(171, 0, 1024, 768));
  EXPECT_EQ(fit(1001, 700), std::tuple(34, 0, 933, 700));
  // Below the least picture it sticks out, still centred.
  EXPECT_EQ(fit(160, 120), std::tuple(0, 0, 160, 120));
  EXPECT_EQ(fit(100, 50), std::tuple(-30, -35, 160, 120));
}

TEST(PictureSize, TargetsArePowersOfTwoUpTo1024AndThePicturesOwnAboveWhereTheCardAllows) {
  auto targets = [](int width, int height, bool anySize) {
    const PictureLayout p = layoutPicture(width, height, anySize);
    return std::tuple(p.targetWidth, p.targetHeight);
  };
  EXPECT_EQ(targets(800, 600, true), std::tuple(1024, 1024));
  EXPECT_EQ(targets(640, 480, true), std::tuple(1024, 512));
  EXPECT_EQ(targets(1024, 768, true), std::tuple(1024, 1024));
  EXPECT_EQ(targets(1440, 1080, true), std::tuple(1440, 1080));
  EXPECT_EQ(targets(1440, 1080, false), std::tuple(2048, 2048));
  EXPECT_FLOAT_EQ(layoutPicture(800, 600, true).pixelScale(), 1.0f);
  EXPECT_FLOAT_EQ(layoutPicture(1440, 1080, true).pixelScale(), 1.8f);
}

TEST(PictureSize, ResolutionModesGiveTheirSizesAndTheSecondIsThePicture) {
  const PictureLayout p = layoutPicture(1440, 1080, true);
  auto size = [&](int mode, int width) {
    const CopySize s = resolutionModeSize(mode, width, p);
    return std::make_pair(s.width, s.height);
  };
  EXPECT_EQ(size(1, 1440), std::make_pair(640, 480));
  EXPECT_EQ(size(2, 512), std::make_pair(1440, 1080));
  EXPECT_EQ(size(3, 1440), std::make_pair(320, 240));
  EXPECT_EQ(size(-1, 640), std::make_pair(640, 480));
  EXPECT_EQ(size(-1, 1440), std::make_pair(1440, 1080));
  EXPECT_EQ(size(-1, 800), std::make_pair(800, 800));
  EXPECT_EQ(size(7, 512), std::make_pair(512, 512));
}

TEST(PictureSize, ParsesWidthByHeightAndRefusesAnythingElse) {
  int w = 0, h = 0;
  EXPECT_TRUE(parsePictureSize("1920x1080", w, h));
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1080);
  EXPECT_TRUE(parsePictureSize("1X16384", w, h));
  EXPECT_EQ(h, 16384);
  for (const char* bad : {"", "1920", "1920x", "x1080", "1920x1080x", "1920*1080", "0x600", "800x16385", "-800x600",
                          " 800x600", "800x600 ", "8e2x600"}) {
    EXPECT_FALSE(parsePictureSize(bad, w, h)) << bad;
  }
}
