#include "geometry/spline_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {
SplinePath makePath(const std::vector<FlagVec3>& points, bool closed) {
  SplinePath path(0);
  path.points = points;
  path.count = int32_t(points.size());
  path.closed = closed;
  return path;
}

std::vector<FlagVec3> wavyPoints(int n) {
  std::vector<FlagVec3> points;
  for (int k = 0; k < n; ++k)
    points.push_back(FlagVec3{1, float(k * 1.5 + 0.25 * k * k), float(std::sin(k * 0.9) * 4), float(k % 3)});
  return points;
}

FlagVec3 at(const SplinePath& path, float s) {
  FlagVec3 out{7, 0, 0, 0};
  path.evaluate(s, out);
  return out;
}

bool same(const FlagVec3& a, const FlagVec3& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

// (0, 0) (1, 2) (3, 3) (6, 1) (7, 5): Catmull-Rom weights worked out by hand,
// at t = 1/2 (-1, 9, 9, -1) / 16 and at t = 1/4 (-9, 111, 29, -3) / 128.
TEST(SplinePath, PassesThroughItsPointsAsCatmullRomAndClampsOrWrapsAtTheEnds) {
  const std::vector<FlagVec3> five = {{1, 0, 0, 0}, {1, 1, 2, 0}, {1, 3, 3, 0}, {1, 6, 1, 0}, {1, 7, 5, 0}};
  const SplinePath open = makePath(five, false), loop = makePath(five, true);
  for (auto [s, x, y] : {std::tuple{1.5f, 1.875f, 2.75f}, {1.25f, 1.40625f, 2.390625f}, {2.5f, 4.5625f, 1.8125f}}) {
    EXPECT_NEAR(at(open, s).x, x, 1e-5) << s;
    EXPECT_NEAR(at(open, s).y, y, 1e-5) << s;
  }
  EXPECT_NEAR(at(loop, 4.5f).x, 3.5f, 1e-5);  // (-6 + 63 + 0 - 1) / 16 across the seam
  EXPECT_NEAR(at(loop, 4.5f).y, 2.625f, 1e-5);
  for (bool closed : {false, true}) {
    const auto points = wavyPoints(9);
    const SplinePath path = makePath(points, closed);
    for (int k = 0; k < 9; ++k) {
      EXPECT_TRUE(same(at(path, float(k)), points[size_t(k)])) << k;
      EXPECT_EQ(at(path, float(k)).flag, 7) << "evaluate leaves the caller's flag inside the path";
    }
  }
  auto points = wavyPoints(6);
  points.front().flag = 2;
  points.back().flag = 0;
  const SplinePath path = makePath(points, false);
  EXPECT_TRUE(same(at(path, 7.0f), points.back()) && at(path, 7.0f).flag == 0);  // beyond: the whole end record
  EXPECT_TRUE(same(at(path, -0.5f), points.front()) && at(path, -0.5f).flag == 2);
  EXPECT_EQ(at(path, std::nanf("")).flag, 2);
  const SplinePath wavyLoop = makePath(wavyPoints(8), true);
  for (float s : {0.25f, 3.5f, 7.75f})
    for (float turns : {-3.0f, 1.0f, 12.0f}) EXPECT_NEAR(at(wavyLoop, s + turns * 8.0f).x, at(wavyLoop, s).x, 1e-4);
}

// Fewer than four points, a count beyond the points, none at all: every
// index lands in the array (the sanitizer build checks the reads).
TEST(SplinePath, ShortAndOvercountedPathsStayInsideTheirPoints) {
  for (int n = 1; n <= 3; ++n)
    for (bool closed : {false, true}) {
      const SplinePath path = makePath(wavyPoints(n), closed);
      for (float s = -5.0f; s <= 5.0f; s += 0.25f) EXPECT_TRUE(std::isfinite(at(path, s).x + at(path, s).z));
      for (int k = 0; k < n; ++k) EXPECT_TRUE(same(at(path, float(k)), wavyPoints(n)[size_t(k)]));
    }
  SplinePath overcounted = makePath(wavyPoints(3), false);
  overcounted.count = 50;
  EXPECT_TRUE(same(at(overcounted, 10.0f), wavyPoints(3)[2]));
  EXPECT_TRUE(at(SplinePath(0), 1.0f).flag == 7 && at(SplinePath(0), 1.0f).x == 0.0f);
}

TEST(SplinePath, ResamplingSpacesPointsEvenlyAlongTheCurve) {
  // Past its last point an open path swings out by (p1 - p0) / 2 x 4/27 and
  // back: that excursion is part of its length.
  SplinePath straight = makePath({FlagVec3{1, 0, 0, 0}, FlagVec3{1, 10, 0, 0}}, false);
  const double length = 10.0 + 2 * 5.0 * 4.0 / 27.0;
  straight.resampleByArcLength(5, 60);
  ASSERT_EQ(straight.count, 5);
  EXPECT_EQ(straight.mode, 3);
  for (size_t j = 0; j < 5; ++j) {
    EXPECT_NEAR(straight.points[j].x, j / 5.0 * length, 0.01 * length / 5) << j;
    EXPECT_TRUE(straight.points[j].y == 0.0f && straight.points[j].flag == 1);
    EXPECT_TRUE(same(straight.shadowPoints.at(j), straight.points[j]) &&
                same(straight.restPoints.at(j), straight.points[j]));
  }
  // Zero-length segments (the divisor falls back to 0.001), a single point,
  // no steps: finite, or left as they were.
  SplinePath still = makePath(std::vector<FlagVec3>(4, FlagVec3{1, 2, 3, 4}), false);
  still.resampleByArcLength(6, 3);
  ASSERT_EQ(still.count, 6);
  for (const FlagVec3& p : still.points) EXPECT_TRUE(same(p, FlagVec3{1, 2, 3, 4}));
  SplinePath one = makePath({FlagVec3{1, 1, 1, 1}}, false), noSteps = makePath(wavyPoints(5), false);
  one.resampleByArcLength(10, 3);
  noSteps.resampleByArcLength(10, 0);
  EXPECT_TRUE(one.count == 1 && one.mode == 0 && noSteps.count == 5);
}

}  // namespace
