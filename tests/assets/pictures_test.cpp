// Pictures for the texture loaders: what a damaged one keeps. (The prefetch
// is held to inline decoding by the parts' set-up test, and its failures'
// order by the start-up program test.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assets/texture_pixels.h"
#include "support/test_jpeg.h"

namespace {
// Per test: ctest runs tests side by side, and they must not share files.
std::string tempPath(const std::string& name) {
  return ::testing::TempDir() + "pictures_" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_" +
         name;
}

// Restart markers every block, the eighth dropped: decodes part way.
std::string damagedPicture() {
  TestPicture p(16, 64);
  p.fill(0, 0, 16, 64, 200, 200, 200);
  std::vector<std::uint8_t> bytes = encodeTestJpeg(p, 1);
  for (std::size_t i = 0, seen = 0; i + 1 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && bytes[i + 1] >= 0xD0 && bytes[i + 1] <= 0xD7 && ++seen == 8) {
      bytes.erase(bytes.begin() + long(i), bytes.begin() + long(i) + 2);
      break;
    }
  writeBytes(tempPath("damaged.jpg"), bytes);
  return tempPath("damaged.jpg");
}

int grey(const RgbPicture& p, int x, int row) { return p.pixels[(std::size_t(row) * p.width + x) * 3]; }

TEST(TexturePixels, ADamagedPictureKeepsItsLinesBeforeTheDamageAndBlackensTheRestNamingTheFile) {
  const std::string path = damagedPicture();
  ::testing::internal::CaptureStderr();
  const PictureRead top = readJpegPicture(path, RowOrder::TopFirst);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(path), std::string::npos);
  ASSERT_EQ(top.failure, PictureFailure::None);
  EXPECT_TRUE(top.linesDecoded > 0 && top.linesDecoded < 64) << top.linesDecoded;
  EXPECT_LT(top.errorCode, 0);
  for (int row = 0; row < 64; ++row) EXPECT_NEAR(grey(top.picture, 8, row), row < top.linesDecoded ? 200 : 0, 3) << row;
  ::testing::internal::CaptureStderr();
  const PictureRead bottom = readJpegPicture(path, RowOrder::BottomFirst);  // the lost lines are the lower part
  ::testing::internal::GetCapturedStderr();
  EXPECT_NEAR(grey(bottom.picture, 8, 0), 0, 3);
  EXPECT_NEAR(grey(bottom.picture, 8, 63), 200, 3);
  EXPECT_EQ(readJpegPicture(tempPath("no-such.jpg"), RowOrder::TopFirst).failure, PictureFailure::Open);
  writeBytes(tempPath("text.jpg"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
  EXPECT_EQ(readJpegPicture(tempPath("text.jpg"), RowOrder::TopFirst).failure, PictureFailure::Header);
}

}  // namespace
