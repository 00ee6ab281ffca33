#include "geometry/outline_tracer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
using Pixels = std::vector<std::pair<int, int>>;

// An RGB image whose green and blue bytes hold a pattern, so that a tracer
// writing anything but red shows up.
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
  // Each traced path as the image pixels its points were made from.
  std::vector<Pixels> trace(bool grey, std::vector<SplinePath>* kept = nullptr) {
    std::vector<SplinePath> paths;
    (grey ? traceGreyOutlines : traceBrightOutlines)(bytes.data(), width, height, paths);
    std::vector<Pixels> out;
    for (const SplinePath& p : paths) {
      out.emplace_back();
      for (const FlagVec3& q : p.points) out.back().push_back({width / 2 - int(q.x), int(q.y) + height / 2});
      EXPECT_TRUE(p.closed && p.mode == 3 && p.count == int(p.points.size()));
    }
    if (kept) *kept = paths;
    return out;
  }
  int width, height;
  std::vector<uint8_t> bytes;
};

// Bright pixels (above 200) start and continue outlines, in column order,
// taking the first bright neighbour clockwise from up; each is marked 128.
TEST(TraceBrightOutlines, StartInColumnOrderAndFollowTheFirstNeighbourClockwiseFromUp) {
  Image lone(64, 64);
  lone.red(10, 20) = 255;
  std::vector<SplinePath> paths;
  lone.trace(false, &paths);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_TRUE(paths[0].points[0].flag == 1 && paths[0].points[0].x == 22.0f && paths[0].points[0].y == -12.0f);
  EXPECT_EQ(paths[0].points[0].z, 0.0f);
  EXPECT_EQ(lone.red(10, 20), 128);
  EXPECT_TRUE(lone.otherChannelsIntact());

  Image image(16, 16);
  for (int x = 5; x < 10; ++x) image.red(x, 14) = 255;  // a run, followed from its left end
  image.red(4, 8) = 255;  // up-right (5, 7) before right (5, 8); then right, then down-left
  image.red(5, 8) = 230;
  image.red(5, 7) = 201;
  image.red(6, 7) = 255;
  image.red(6, 8) = 200;  // not above the threshold
  image.red(9, 2) = 255;
  image.red(3, 4) = 255;
  image.red(4, 4) = 210;  // joins the outline at (3, 4), starts none
  const std::vector<Pixels> expected = {
      {{3, 4}, {4, 4}}, {{4, 8}, {5, 7}, {6, 7}, {5, 8}}, {{5, 14}, {6, 14}, {7, 14}, {8, 14}, {9, 14}}, {{9, 2}}};
  EXPECT_EQ(image.trace(false), expected);
  EXPECT_EQ(image.red(6, 8), 200);
  EXPECT_EQ(image.red(7, 14), 128);
  EXPECT_TRUE(image.trace(false).empty());  // the marked image holds no more

  // A bright border: neighbours outside the image never count.
  Image edge(8, 6);
  for (int x = 0; x < 8; ++x) edge.red(x, 0) = edge.red(x, 5) = 255;
  for (int y = 0; y < 6; ++y) edge.red(0, y) = edge.red(7, y) = 255;
  const std::vector<Pixels> border = edge.trace(false);
  size_t total = 0;
  for (const Pixels& p : border) total += p.size();
  EXPECT_EQ(total, 2u * 8 + 2u * 4);
  EXPECT_EQ(Pixels(border.at(0).begin(), border.at(0).begin() + 2), (Pixels{{0, 0}, {1, 0}}));
  std::vector<SplinePath> none;
  traceBrightOutlines(edge.bytes.data(), 0, 6, none);
  traceBrightOutlines(nullptr, 8, 6, none);
  EXPECT_TRUE(none.empty());
}

// Grey pixels (111 to 144) start outlines; only straight neighbours above
// 220 continue them, up, right, down, left in that order; marked 180.
TEST(TraceGreyOutlines, StartOnGreyAndFollowStraightBrightNeighboursUpRightDownLeft) {
  Image image(16, 16);
  image.red(2, 2) = 130;    // start
  image.red(2, 3) = 221;    // down: followed
  image.red(3, 4) = 255;    // diagonal: never followed
  image.red(1, 3) = 220;    // not above the threshold
  image.red(10, 10) = 111;  // a start, alone
  image.red(12, 12) = 110;  // neither
  image.red(13, 13) = 145;  // neither
  image.red(5, 5) = 120;
  image.red(5, 4) = 250;  // up first
  image.red(6, 4) = 250;  // right of (5, 4)
  image.red(6, 5) = 250;  // right of the start, reached after the up branch ends
  EXPECT_EQ(image.trace(true), (std::vector<Pixels>{{{2, 2}, {2, 3}}, {{5, 5}, {5, 4}, {6, 4}, {6, 5}}, {{10, 10}}}));
  EXPECT_EQ(image.red(2, 2), 180);
  EXPECT_EQ(image.red(2, 3), 180);
  EXPECT_EQ(image.red(3, 4), 255);
  EXPECT_TRUE(image.otherChannelsIntact());
}
}  // namespace
