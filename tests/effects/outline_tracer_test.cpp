#include "effects/outline_tracer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An RGB image whose green and blue bytes hold a pattern, so that a tracer
// that writes anything but red shows up.
struct Image {
  Image(int w, int h) : width(w), height(h), bytes(size_t(w) * size_t(h) * 3) {
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = (i % 3 == 0) ? 0 : uint8_t(i * 7);
  }
  uint8_t& red(int x, int y) { return bytes[(size_t(y) * size_t(width) + size_t(x)) * 3]; }
  bool otherChannelsIntact() const {
    for (size_t i = 0; i < bytes.size(); ++i)
      if (i % 3 != 0 && bytes[i] != uint8_t(i * 7)) return false;
    return true;
  }
  int width, height;
  std::vector<uint8_t> bytes;
};

// The image pixel a control point was made from.
std::pair<int, int> pixelOf(const FlagVec3& p, const Image& image) {
  return {image.width / 2 - int(p.x), int(p.y) + image.height / 2};
}

std::vector<std::pair<int, int>> pixelsOf(const SplinePath& path, const Image& image) {
  std::vector<std::pair<int, int>> pixels;
  for (const FlagVec3& p : path.points) pixels.push_back(pixelOf(p, image));
  return pixels;
}

using Pixels = std::vector<std::pair<int, int>>;

TEST(TraceBrightOutlines, IsolatedPixelGivesOneCentredPoint) {
  Image image(64, 64);
  image.red(10, 20) = 255;
  std::vector<SplinePath> paths;
  traceBrightOutlines(image.bytes.data(), 64, 64, paths);
  ASSERT_EQ(paths.size(), 1u);
  const SplinePath& path = paths[0];
  EXPECT_TRUE(path.closed);
  EXPECT_EQ(path.mode, 3);
  EXPECT_EQ(path.count, 1);
  ASSERT_EQ(path.points.size(), 1u);
  EXPECT_EQ(path.points[0].flag, 1);
  EXPECT_EQ(path.points[0].x, 22.0f);
  EXPECT_EQ(path.points[0].y, -12.0f);
  EXPECT_EQ(path.points[0].z, 0.0f);
  EXPECT_EQ(image.red(10, 20), 128);
  EXPECT_TRUE(image.otherChannelsIntact());
}

TEST(TraceBrightOutlines, FollowsARunFromItsLeftEndAndMarksIt) {
  Image image(32, 16);
  for (int x = 5; x < 10; ++x) image.red(x, 7) = 255;
  std::vector<SplinePath> paths(1);  // paths already there are kept
  traceBrightOutlines(image.bytes.data(), 32, 16, paths);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[1].count, 5);
  EXPECT_EQ(pixelsOf(paths[1], image), (Pixels{{5, 7}, {6, 7}, {7, 7}, {8, 7}, {9, 7}}));
  for (int x = 5; x < 10; ++x) EXPECT_EQ(image.red(x, 7), 128);
  // Tracing the marked image again finds nothing.
  traceBrightOutlines(image.bytes.data(), 32, 16, paths);
  EXPECT_EQ(paths.size(), 2u);
}

TEST(TraceBrightOutlines, TakesTheFirstNeighbourClockwiseFromUp) {
  Image image(16, 16);
  // From the start (4, 8) both up-right (5, 7) and right (5, 8) are bright:
  // up-right comes first. From (5, 7) the start is marked, so the chain
  // goes right to (6, 7), and from there down-left to (5, 8), passing over
  // (6, 8), which is not above the threshold.
  image.red(4, 8) = 255;
  image.red(5, 8) = 230;
  image.red(5, 7) = 201;
  image.red(6, 7) = 255;
  image.red(6, 8) = 200;  // not above the threshold
  std::vector<SplinePath> paths;
  traceBrightOutlines(image.bytes.data(), 16, 16, paths);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(pixelsOf(paths[0], image), (Pixels{{4, 8}, {5, 7}, {6, 7}, {5, 8}}));
  EXPECT_EQ(image.red(6, 8), 200);
}

TEST(TraceBrightOutlines, OutlinesStartInColumnOrder) {
  Image image(16, 16);
  image.red(9, 2) = 255;
  image.red(3, 12) = 255;
  image.red(3, 4) = 255;
  image.red(4, 4) = 210;  // joins the outline at (3, 4), starts none
  image.red(4, 5) = 254;  // followable but never a start
  std::vector<SplinePath> paths;
  traceBrightOutlines(image.bytes.data(), 16, 16, paths);
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(pixelsOf(paths[0], image), (Pixels{{3, 4}, {4, 4}, {4, 5}}));
  EXPECT_EQ(pixelsOf(paths[1], image), (Pixels{{3, 12}}));
  EXPECT_EQ(pixelsOf(paths[2], image), (Pixels{{9, 2}}));
}

TEST(TraceBrightOutlines, ChainsAlongTheImageEdgeStopAtIt) {
  Image image(8, 6);
  // The whole border is bright: neighbours outside the image never count.
  for (int x = 0; x < 8; ++x) image.red(x, 0) = image.red(x, 5) = 255;
  for (int y = 0; y < 6; ++y) image.red(0, y) = image.red(7, y) = 255;
  std::vector<SplinePath> paths;
  traceBrightOutlines(image.bytes.data(), 8, 6, paths);
  size_t total = 0;
  for (const SplinePath& path : paths) total += path.points.size();
  EXPECT_EQ(total, 2u * 8 + 2u * 4);
  ASSERT_GE(paths.size(), 1u);
  const Pixels first = pixelsOf(paths[0], image);
  EXPECT_EQ(first.front(), (std::pair{0, 0}));
  // Up is outside, up-right is outside, right is (1, 0): the chain runs
  // along the top edge first.
  EXPECT_EQ(first[1], (std::pair{1, 0}));
  EXPECT_TRUE(image.otherChannelsIntact());

  std::vector<SplinePath> none;
  traceBrightOutlines(image.bytes.data(), 0, 6, none);
  traceBrightOutlines(nullptr, 8, 6, none);
  EXPECT_TRUE(none.empty());
}

TEST(TraceGreyOutlines, StartsOnGreyAndFollowsOnlyStraightBrightNeighbours) {
  Image image(16, 16);
  image.red(2, 2) = 130;    // start
  image.red(2, 3) = 221;    // down: followed
  image.red(3, 4) = 255;    // diagonal from (2, 3): never followed
  image.red(1, 3) = 220;    // left of (2, 3): not above the threshold
  image.red(10, 10) = 111;  // start, alone
  image.red(12, 12) = 110;  // neither
  image.red(13, 13) = 145;  // neither
  image.red(14, 14) = 255;  // followable but never a start
  std::vector<SplinePath> paths;
  traceGreyOutlines(image.bytes.data(), 16, 16, paths);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(pixelsOf(paths[0], image), (Pixels{{2, 2}, {2, 3}}));
  EXPECT_EQ(pixelsOf(paths[1], image), (Pixels{{10, 10}}));
  EXPECT_TRUE(paths[0].closed);
  EXPECT_EQ(paths[0].mode, 3);
  EXPECT_EQ(image.red(2, 2), 180);
  EXPECT_EQ(image.red(2, 3), 180);
  EXPECT_EQ(image.red(3, 4), 255);
  EXPECT_EQ(image.red(14, 14), 255);
  EXPECT_TRUE(image.otherChannelsIntact());
}

TEST(TraceGreyOutlines, PrefersUpThenRightThenDownThenLeft) {
  Image image(16, 16);
  image.red(5, 5) = 120;
  image.red(5, 4) = 250;  // up
  image.red(6, 5) = 250;  // right, reached only after the up branch ends
  image.red(6, 4) = 250;  // right of (5, 4)
  std::vector<SplinePath> paths;
  traceGreyOutlines(image.bytes.data(), 16, 16, paths);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(pixelsOf(paths[0], image), (Pixels{{5, 5}, {5, 4}, {6, 4}, {6, 5}}));
}

}  // namespace
