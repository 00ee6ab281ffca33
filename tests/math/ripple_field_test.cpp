#include "math/ripple_field.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double at(const RippleField& f, int buffer, int x, int y) { return f.heights[buffer][size_t(y) * f.width + size_t(x)]; }

int countNonZero(const std::vector<double>& h) {
  return int(std::count_if(h.begin(), h.end(), [](double v) { return v != 0.0; }));
}

std::array<uint8_t, 3> texel(const RippleField& f, int x, int y) {
  const uint8_t* p = f.normalBytes.data() + (size_t(y) * f.width + size_t(x)) * 3;
  return {p[0], p[1], p[2]};
}

TEST(RippleField, DropStampsAssignTheirPattern) {
  RippleField f(0.03, 32, 32);
  const double a = 2.0;
  f.drop(10, 12, 1, a);
  EXPECT_EQ(countNonZero(f.heights[0]), 1);
  EXPECT_EQ(at(f, 0, 10, 12), a);

  f.drop(20, 20, 2, a);
  EXPECT_EQ(at(f, 0, 20, 20), a);
  for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) EXPECT_EQ(at(f, 0, 20 + dx, 20 + dy), 0.5 * a);
  EXPECT_EQ(countNonZero(f.heights[0]), 1 + 5);

  RippleField g(0.03, 32, 32);
  g.drop(10, 10, 3, a);
  EXPECT_EQ(countNonZero(g.heights[0]), 13);
  EXPECT_EQ(at(g, 0, 10, 10), a);
  EXPECT_EQ(at(g, 0, 11, 10), 0.75 * a);
  EXPECT_EQ(at(g, 0, 10, 8), 0.4 * a);
  EXPECT_EQ(at(g, 0, 9, 11), 0.45 * a);

  RippleField h(0.03, 32, 32);
  h.drop(10, 10, 4, a);
  EXPECT_EQ(countNonZero(h.heights[0]), 25);
  EXPECT_EQ(at(h, 0, 10, 9), 0.8 * a);
  EXPECT_EQ(at(h, 0, 12, 10), 0.5 * a);
  EXPECT_EQ(at(h, 0, 10, 13), 0.3 * a);
  EXPECT_EQ(at(h, 0, 11, 11), 0.65 * a);
  EXPECT_EQ(at(h, 0, 8, 9), 0.55 * a);
  EXPECT_EQ(at(h, 0, 9, 12), 0.55 * a);
  // Nothing lands in the other buffer.
  EXPECT_EQ(countNonZero(h.heights[1]), 0);

  // A stamp replaces what is there instead of adding to it.
  h.drop(10, 10, 1, -1.0);
  EXPECT_EQ(at(h, 0, 10, 10), -1.0);
}

TEST(RippleField, OtherSizesDoNothingAndDropsAtTheEdgeAreClippedToTheGrid) {
  RippleField f(0.03, 16, 16);
  for (int size : {0, 5, -1, 100}) f.drop(8, 8, size, 1.0);
  EXPECT_EQ(countNonZero(f.heights[0]), 0);
  f.drop(0, 0, 4, 1.0);
  // The cells of the size-4 stamp with dx, dy >= 0: centre, 3 + 3 on the
  // axes, one diagonal, two knight cells.
  EXPECT_EQ(countNonZero(f.heights[0]), 10);
  EXPECT_EQ(at(f, 0, 0, 0), 1.0);
  EXPECT_EQ(at(f, 0, 3, 0), 0.3);
  f.drop(15, 15, 3, 1.0);
  EXPECT_EQ(at(f, 0, 13, 15), 0.4);
  f.drop(-2, 5, 4, 1.0);  // centre outside, its right arm inside
  EXPECT_EQ(at(f, 0, 0, 5), 0.5);
  EXPECT_EQ(at(f, 0, 1, 5), 0.3);
  f.drop(1000, -1000, 4, 1.0);
  EXPECT_EQ(f.heights[1].size(), 256u);
}

TEST(RippleField, WavesSpreadOneCellPerStepWithInvertedSign) {
  RippleField f(0.03, 128, 128);
  f.drop(64, 64, 1, 1.0);
  f.step(1.0);
  EXPECT_EQ(f.current, 1);
  // The drop was in the destination buffer, so it comes back inverted.
  const std::vector<double>& newest = f.heights[1 - f.current];
  EXPECT_EQ(at(f, 1 - f.current, 64, 64), -1.0);
  EXPECT_EQ(countNonZero(newest), 1);

  f.step(1.0);
  EXPECT_EQ(f.current, 0);
  const int n = 1 - f.current;
  EXPECT_EQ(at(f, n, 64, 64), 0.0);
  for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) EXPECT_EQ(at(f, n, 64 + dx, 64 + dy), -0.5);
  EXPECT_EQ(countNonZero(f.heights[n]), 4);

  // Later steps keep the front moving out by one cell per step: after step
  // k it is k - 1 cells from the drop.
  for (int k = 0; k < 10; ++k) f.step(1.0);
  const int m = 1 - f.current;
  EXPECT_NE(at(f, m, 64 + 11, 64), 0.0);
  EXPECT_NE(at(f, m, 64, 64 - 11), 0.0);
  EXPECT_EQ(at(f, m, 64 + 12, 64), 0.0);
  EXPECT_EQ(at(f, m, 64 + 6, 64 + 6), 0.0);
  EXPECT_NE(at(f, m, 64 + 6, 64 + 5), 0.0);
}

TEST(RippleField, DampingScalesEveryStep) {
  RippleField damped(0.03, 32, 32), free(0.03, 32, 32);
  damped.drop(16, 16, 3, 1.0);
  free.drop(16, 16, 3, 1.0);
  damped.step(0.95);
  free.step(1.0);
  const int n = 1 - damped.current;
  for (size_t i = 0; i < free.heights[n].size(); ++i) EXPECT_DOUBLE_EQ(damped.heights[n][i], free.heights[n][i] * 0.95);
}

TEST(RippleField, BorderCellsAreNeverWritten) {
  RippleField f(0.03, 8, 8);
  f.drop(1, 1, 2, 1.0);  // reaches the border cells (0, 1) and (1, 0)
  f.step(1.0);
  f.step(1.0);
  f.step(1.0);
  EXPECT_EQ(at(f, 0, 0, 1), 0.5);
  EXPECT_EQ(at(f, 0, 1, 0), 0.5);
  for (int k = 0; k < 8; ++k) {
    EXPECT_EQ(at(f, 1, k, 0), 0.0);
    EXPECT_EQ(at(f, 1, 7, k), 0.0);
  }
}

TEST(RippleField, TinyFieldsStepAndMapNothingButStillFlip) {
  RippleField f(0.03, 2, 8);
  f.drop(1, 4, 1, 1.0);
  f.step(1.0);
  EXPECT_EQ(f.current, 1);
  EXPECT_EQ(countNonZero(f.heights[0]), 1);
  EXPECT_EQ(countNonZero(f.heights[1]), 0);

  RippleField g(0.03, 4, 40);
  g.normalMap(1.0);
  EXPECT_TRUE(std::all_of(g.normalBytes.begin(), g.normalBytes.end(), [](uint8_t b) { return b == 0; }));
  RippleField empty(0.03, 0, 0);
  empty.step(1.0);
  empty.normalMap(1.0);
  empty.drop(0, 0, 4, 1.0);
}

TEST(RippleField, FlatFieldMapsToStraightUpInsideATwoCellBorder) {
  RippleField f(0.03, 16, 12);
  std::fill(f.heights[0].begin(), f.heights[0].end(), 3.25);
  f.normalMap(1.0);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inner = x >= 2 && x <= 13 && y >= 2 && y <= 9;
      const auto expected = inner ? std::array<uint8_t, 3>{127, 127, 255} : std::array<uint8_t, 3>{0, 0, 0};
      EXPECT_EQ(texel(f, x, y), expected) << x << ", " << y;
    }
  // No z component at all stays defined.
  f.normalMap(0.0);
  EXPECT_EQ(texel(f, 4, 4), (std::array<uint8_t, 3>{127, 127, 127}));
}

TEST(RippleField, NormalMapTiltsAgainstTheSlope) {
  // Heights rise with x: the Sobel gradient is 8 per unit slope and negated,
  // so the normal leans towards -x.
  RippleField f(0.03, 8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) f.heights[0][size_t(y * 8 + x)] = 0.125 * x;
  f.normalMap(1.0);
  const double k = 1.0 / std::sqrt(2.0);
  const auto t = texel(f, 3, 3);
  EXPECT_EQ(t[0], uint8_t(int((-1.0 * k + 1.0) * 0.5 * 255.0)));
  EXPECT_EQ(t[1], 127);
  EXPECT_EQ(t[2], uint8_t(int((1.0 * k + 1.0) * 0.5 * 255.0)));

  // Only heights[current] is read.
  RippleField g(0.03, 8, 8);
  std::fill(g.heights[1].begin(), g.heights[1].end(), 0.0);
  for (size_t i = 0; i < 64; ++i) g.heights[1][i] = double(i % 8);
  g.normalMap(1.0);
  EXPECT_EQ(texel(g, 3, 3), (std::array<uint8_t, 3>{127, 127, 255}));
}

}  // namespace
