#include "assets/texture_pixels.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>

#include "support/test_jpeg.h"

namespace {

// Per test: ctest runs tests side by side, and they must not share files.
std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "texture_pixels_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() +
         "_" + name;
}

std::array<int, 3> rgbAt(const RgbPicture& p, int x, int row) {
  const std::uint8_t* q = &p.pixels[(std::size_t(row) * p.width + x) * 3];
  return {q[0], q[1], q[2]};
}

void expectNear(std::array<int, 3> got, std::array<int, 3> want, const char* where) {
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[c], want[c], 3) << where << " channel " << c;
}

std::string quadrantPicture() {
  const std::string path = tempPath("quadrants.jpg");
  writeTestJpeg(path, quadrantTestPicture(16, 16));
  return path;
}

TEST(TexturePixels, RowOrderAndMirroringPlaceTheCornersAsGlExpects) {
  const std::string path = quadrantPicture();
  const std::array<int, 3> red{255, 0, 0}, blue{0, 0, 255}, white{255, 255, 255};

  PictureRead top = readJpegPicture(path, RowOrder::TopFirst);
  ASSERT_EQ(top.failure, PictureFailure::None);
  EXPECT_EQ(top.linesDecoded, 16);
  expectNear(rgbAt(top.picture, 0, 0), red, "top first, row 0 start");
  expectNear(rgbAt(top.picture, 15, 15), white, "top first, last row end");

  PictureRead mirrored = readJpegPicture(path, RowOrder::BottomFirst, true);
  expectNear(rgbAt(mirrored.picture, 0, 15), blue, "mirrored, last row start");
  expectNear(rgbAt(mirrored.picture, 15, 15), red, "mirrored, last row end");
  expectNear(rgbAt(mirrored.picture, 0, 0), white, "mirrored, row 0 start");
}

TEST(TexturePixels, GreyscalePictureComesOutAsGreyRgb) {
  TestPicture grey(24, 8, 1);
  grey.fill(0, 0, 8, 8, 40);
  grey.fill(8, 0, 16, 8, 128);
  grey.fill(16, 0, 24, 8, 230);
  const std::string path = tempPath("grey.jpg");
  writeTestJpeg(path, grey);

  PictureRead read = readJpegPicture(path, RowOrder::TopFirst);
  ASSERT_EQ(read.failure, PictureFailure::None);
  ASSERT_EQ(read.picture.pixels.size(), 24u * 8u * 3u);
  expectNear(rgbAt(read.picture, 3, 4), {40, 40, 40}, "left");
  expectNear(rgbAt(read.picture, 12, 4), {128, 128, 128}, "middle");
  expectNear(rgbAt(read.picture, 23, 7), {230, 230, 230}, "right, last pixel");
}

TEST(TexturePixels, DamageInThePictureKeepsTheLinesBeforeItAndBlackensTheRest) {
  TestPicture p(16, 64);
  p.fill(0, 0, 16, 64, 200, 200, 200);
  std::vector<std::uint8_t> bytes = encodeTestJpeg(p, 1);
  // Drop the restart marker after the fourth row of blocks.
  std::vector<std::size_t> markers;
  for (std::size_t i = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7) markers.push_back(i);
  ASSERT_GT(markers.size(), 8u);
  bytes.erase(bytes.begin() + long(markers[7]), bytes.begin() + long(markers[7]) + 2);
  const std::string path = tempPath("damaged.jpg");
  writeBytes(path, bytes);

  ::testing::internal::CaptureStderr();
  PictureRead read = readJpegPicture(path, RowOrder::TopFirst);
  const std::string log = ::testing::internal::GetCapturedStderr();
  ASSERT_EQ(read.failure, PictureFailure::None);
  EXPECT_GT(read.linesDecoded, 0);
  EXPECT_LT(read.linesDecoded, 64);
  EXPECT_LT(read.errorCode, 0);
  EXPECT_NE(log.find(path), std::string::npos) << log;
  for (int row = 0; row < 64; ++row) {
    const std::array<int, 3> want =
        row < read.linesDecoded ? std::array<int, 3>{200, 200, 200} : std::array<int, 3>{0, 0, 0};
    expectNear(rgbAt(read.picture, 8, row), want, ("row " + std::to_string(row)).c_str());
  }

  // Bottom row first: the lost lines are the picture's lower part.
  read = readJpegPicture(path, RowOrder::BottomFirst);
  expectNear(rgbAt(read.picture, 8, 0), {0, 0, 0}, "bottom row");
  expectNear(rgbAt(read.picture, 8, 63), {200, 200, 200}, "top row");
}

TEST(TexturePixels, MissingAndForeignFilesAreToldApart) {
  EXPECT_EQ(readJpegPicture(tempPath("no-such.jpg"), RowOrder::TopFirst).failure, PictureFailure::Open);
  const std::string text = tempPath("text.jpg");
  writeBytes(text, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
  const PictureRead read = readJpegPicture(text, RowOrder::TopFirst);
  EXPECT_EQ(read.failure, PictureFailure::Header);
  EXPECT_LT(read.errorCode, 0);
}

RgbPicture solid(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  RgbPicture p;
  p.width = w;
  p.height = h;
  for (int i = 0; i < w * h; ++i) p.pixels.insert(p.pixels.end(), {r, g, b});
  return p;
}

TEST(MergeAlpha, BottomRowStaysTransparentBlackAndRowOneTakesTheBottomScanLine) {
  RgbPicture colour = solid(3, 4, 10, 20, 30);  // bottom row first
  for (int row = 0; row < 4; ++row) colour.pixels[std::size_t(row) * 9] = std::uint8_t(100 + row);
  RgbPicture alpha = solid(3, 4, 0, 255, 0);  // top row first
  for (int r = 0; r < 4; ++r) alpha.pixels[std::size_t(r) * 9 + 1] = std::uint8_t(50 + r);

  const RgbPicture out = mergeAlpha(colour, alpha);
  ASSERT_EQ(out.pixels.size(), 3u * 4u * 4u);
  auto texel = [&](int x, int row) { return &out.pixels[(std::size_t(row) * 3 + x) * 4]; };
  for (int x = 0; x < 3; ++x)
    for (int c = 0; c < 4; ++c) EXPECT_EQ(texel(x, 0)[c], 0) << "bottom row, x " << x;
  EXPECT_EQ(texel(0, 1)[0], 101);  // colour of row 1
  EXPECT_EQ(texel(0, 1)[3], 53);   // alpha of the bottom scan line, written last
  EXPECT_EQ(texel(0, 2)[3], 51);
  EXPECT_EQ(texel(0, 3)[0], 103);
  EXPECT_EQ(texel(0, 3)[3], 50);   // top scan line on the top row
  EXPECT_EQ(texel(2, 3)[3], 255);  // green, not red or blue

  // A picture one row high has nothing but its transparent bottom row.
  const RgbPicture thin = mergeAlpha(solid(5, 1, 9, 9, 9), solid(5, 1, 9, 255, 9));
  ASSERT_EQ(thin.pixels.size(), 20u);
  for (std::uint8_t v : thin.pixels) EXPECT_EQ(v, 0);
}

RgbPicture heights(int w, int h, std::uint8_t flat) { return solid(w, h, flat, 0, 0); }

TEST(NormalMap, FlatFieldPointsStraightUp) {
  for (std::uint8_t level : {0, 77, 255}) {
    const RgbPicture n = normalMapFromHeights(heights(5, 3, level));
    for (std::size_t i = 0; i < n.pixels.size(); i += 3) {
      ASSERT_EQ(n.pixels[i], 127);
      ASSERT_EQ(n.pixels[i + 1], 127);
      ASSERT_EQ(n.pixels[i + 2], 255);
    }
  }
}

TEST(NormalMap, BrightColumnTiltsBothNeighboursAcrossTheWrap) {
  RgbPicture h = heights(6, 4, 0);
  for (int y = 0; y < 4; ++y) h.pixels[std::size_t(y) * 18] = 255;  // column x = 0
  const RgbPicture n = normalMapFromHeights(h);
  for (int row = 0; row < 4; ++row) {
    // gx = -4 to the right of the ridge: (4, 0, 1) / sqrt(17).
    EXPECT_EQ(rgbAt(n, 1, row), (std::array<int, 3>{251, 127, 158})) << row;
    // And +4 on its far side, which is the other edge of the picture.
    EXPECT_EQ(rgbAt(n, 5, row), (std::array<int, 3>{3, 127, 158})) << row;
    EXPECT_EQ(rgbAt(n, 0, row), (std::array<int, 3>{127, 127, 255})) << row;
    EXPECT_EQ(rgbAt(n, 3, row), (std::array<int, 3>{127, 127, 255})) << row;
  }
}

TEST(NormalMap, RowsComeOutBottomFirstAndTheFieldWrapsVertically) {
  RgbPicture h = heights(4, 6, 0);
  for (int x = 0; x < 4; ++x) h.pixels[std::size_t(x) * 3] = 255;  // the top scan line
  const RgbPicture n = normalMapFromHeights(h);
  // Scan line 1, below the ridge: gy = +4, so ny = -4. It is output row 4.
  EXPECT_EQ(rgbAt(n, 2, 4), (std::array<int, 3>{127, 3, 158}));
  // The bottom scan line sees the ridge across the wrap: output row 0.
  EXPECT_EQ(rgbAt(n, 2, 0), (std::array<int, 3>{127, 251, 158}));
  EXPECT_EQ(rgbAt(n, 2, 2), (std::array<int, 3>{127, 127, 255}));
}

}  // namespace
