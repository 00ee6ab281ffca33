#include "effects/spline_path.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double kPi = 3.141592653589793;

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

double distance(const FlagVec3& a, const FlagVec3& b) {
  const double dx = double(a.x) - b.x, dy = double(a.y) - b.y, dz = double(a.z) - b.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void expectSamePoint(const FlagVec3& a, const FlagVec3& b) {
  EXPECT_EQ(a.x, b.x);
  EXPECT_EQ(a.y, b.y);
  EXPECT_EQ(a.z, b.z);
}

// Catmull-Rom at the middle of the segment P1..P2.
FlagVec3 midSegment(const FlagVec3& p0, const FlagVec3& p1, const FlagVec3& p2, const FlagVec3& p3) {
  const auto c = [](double a, double b, double c2, double d) { return float((-a + 9 * b + 9 * c2 - d) / 16); };
  return FlagVec3{1, c(p0.x, p1.x, p2.x, p3.x), c(p0.y, p1.y, p2.y, p3.y), c(p0.z, p1.z, p2.z, p3.z)};
}

TEST(SplinePathEvaluate, PassesExactlyThroughEveryControlPoint) {
  const auto points = wavyPoints(9);
  for (bool closed : {false, true}) {
    const SplinePath path = makePath(points, closed);
    for (int k = 0; k < 9; ++k) {
      const FlagVec3 p = at(path, float(k));
      expectSamePoint(p, points[size_t(k)]);
      EXPECT_EQ(p.flag, 7) << "evaluate must leave the caller's flag inside the path";
    }
  }
}

TEST(SplinePathEvaluate, InterpolatesWithTheNeighbouringPoints) {
  const auto points = wavyPoints(9);
  const SplinePath open = makePath(points, false);
  // Middle range and both clamped ranges use the four points around s.
  for (int i : {1, 2, 3, 4, 5, 6}) {
    const FlagVec3 expected =
        midSegment(points[size_t(i - 1)], points[size_t(i)], points[size_t(i + 1)], points[size_t(i + 2)]);
    const FlagVec3 p = at(open, i + 0.5f);
    EXPECT_NEAR(p.x, expected.x, 1e-5) << "s = " << i + 0.5;
    EXPECT_NEAR(p.y, expected.y, 1e-5) << "s = " << i + 0.5;
    EXPECT_NEAR(p.z, expected.z, 1e-5) << "s = " << i + 0.5;
  }
  // Evenly spaced collinear points give straight-line interpolation.
  std::vector<FlagVec3> line;
  for (int k = 0; k < 10; ++k) line.push_back(FlagVec3{1, float(2 * k), float(-k), 0});
  const SplinePath straight = makePath(line, false);
  for (float s : {1.25f, 3.75f, 4.5f, 6.125f}) {
    EXPECT_NEAR(at(straight, s).x, 2 * s, 1e-5);
    EXPECT_NEAR(at(straight, s).y, -s, 1e-5);
  }
}

TEST(SplinePathEvaluate, OpenPathEndsCopyTheEndPointWithItsFlag) {
  auto points = wavyPoints(6);
  points.front().flag = 2;
  points.back().flag = 0;
  const SplinePath path = makePath(points, false);
  const FlagVec3 past = at(path, 7.0f);
  EXPECT_EQ(past.flag, 0);
  expectSamePoint(past, points.back());
  const FlagVec3 before = at(path, -0.5f);
  EXPECT_EQ(before.flag, 2);
  expectSamePoint(before, points.front());
  expectSamePoint(at(path, 6.0f), points.back());
  EXPECT_EQ(at(path, 6.0f).flag, 7);
  EXPECT_EQ(at(path, std::nanf("")).flag, 2);
}

TEST(SplinePathEvaluate, ClosedPathWrapsAroundTheSeam) {
  const auto points = wavyPoints(8);
  const SplinePath path = makePath(points, true);
  const FlagVec3 expected = midSegment(points[6], points[7], points[0], points[1]);
  const FlagVec3 seam = at(path, 7.5f);
  EXPECT_NEAR(seam.x, expected.x, 1e-5);
  EXPECT_NEAR(seam.y, expected.y, 1e-5);
  EXPECT_NEAR(seam.z, expected.z, 1e-5);
  const FlagVec3 first = midSegment(points[7], points[0], points[1], points[2]);
  EXPECT_NEAR(at(path, 0.5f).x, first.x, 1e-5);
  // Whole turns either way land on the same point.
  for (float s : {0.25f, 3.5f, 7.75f}) {
    const FlagVec3 base = at(path, s);
    for (float turns : {-3.0f, -1.0f, 1.0f, 12.0f}) {
      const FlagVec3 shifted = at(path, s + turns * 8.0f);
      EXPECT_NEAR(shifted.x, base.x, 1e-4) << s << " + " << turns << " turns";
      EXPECT_NEAR(shifted.y, base.y, 1e-4) << s << " + " << turns << " turns";
    }
  }
}

TEST(SplinePathEvaluate, ShortPathsStayInsideTheirPoints) {
  // Fewer than four points: every index must still land in the array (the
  // sanitizer build checks the reads).
  for (int n = 1; n <= 3; ++n) {
    auto points = wavyPoints(n);
    for (bool closed : {false, true}) {
      const SplinePath path = makePath(points, closed);
      for (float s = -5.0f; s <= 5.0f; s += 0.25f) {
        const FlagVec3 p = at(path, s);
        EXPECT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z));
      }
      for (int k = 0; k < n; ++k) expectSamePoint(at(path, float(k)), points[size_t(k)]);
    }
  }
  const SplinePath single = makePath({FlagVec3{1, 3, 4, 5}}, true);
  expectSamePoint(at(single, 0.7f), FlagVec3{1, 3, 4, 5});

  // A count beyond the stored points and an empty path read nothing extra.
  SplinePath overcounted = makePath(wavyPoints(3), false);
  overcounted.count = 50;
  expectSamePoint(at(overcounted, 10.0f), wavyPoints(3)[2]);
  const SplinePath empty(0);
  const FlagVec3 untouched = at(empty, 1.0f);
  EXPECT_EQ(untouched.flag, 7);
  EXPECT_EQ(untouched.x, 0.0f);
}

TEST(SplinePathResample, StraightPathGetsEvenlySpacedCollinearPoints) {
  SplinePath path = makePath({FlagVec3{1, 0, 0, 0}, FlagVec3{1, 10, 0, 0}}, false);
  // Past the last point an open path swings out by (p1 - p0) / 2 * 4/27 and
  // back (the clamped end tangent); that excursion is part of its length.
  const double length = 10.0 + 2 * 5.0 * 4.0 / 27.0;
  path.resampleByArcLength(5, 60);
  ASSERT_EQ(path.count, 5);
  ASSERT_EQ(path.points.size(), 5u);
  EXPECT_EQ(path.mode, 3);
  for (int j = 0; j < 5; ++j) {
    EXPECT_NEAR(path.points[size_t(j)].x, j / 5.0 * length, 0.01 * length / 5) << "point " << j;
    EXPECT_EQ(path.points[size_t(j)].y, 0.0f);
    EXPECT_EQ(path.points[size_t(j)].z, 0.0f);
    EXPECT_EQ(path.points[size_t(j)].flag, 1);
  }
  EXPECT_EQ(path.shadowPoints.size(), 5u);
  EXPECT_EQ(path.restPoints.size(), 5u);
  for (size_t j = 0; j < 5; ++j) {
    expectSamePoint(path.shadowPoints[j], path.points[j]);
    expectSamePoint(path.restPoints[j], path.points[j]);
  }
}

TEST(SplinePathResample, CurvedLoopGetsEqualSpacingWithinOnePercent) {
  // An ellipse with control points bunched on one side, so parameter speed
  // varies a lot along the curve.
  std::vector<FlagVec3> points;
  const int n = 16;
  for (int k = 0; k < n; ++k) {
    const double t = 2 * kPi * std::pow(k / double(n), 1.3);
    points.push_back(FlagVec3{1, float(30 * std::cos(t)), float(20 * std::sin(t)), 0});
  }
  SplinePath path = makePath(points, true);
  const SplinePath original = path;
  path.resampleByArcLength(40, 24);
  ASSERT_EQ(path.count, 40);
  EXPECT_TRUE(path.closed);

  // Measure along the original curve: a fine polyline with its running
  // length, and each new point placed at its nearest polyline vertex.
  const int fine = 400 * n;
  std::vector<FlagVec3> polyline(fine + 1);
  std::vector<double> length(fine + 1, 0.0);
  for (int i = 0; i <= fine; ++i) {
    original.evaluate(float(double(i) * n / fine), polyline[size_t(i)]);
    if (i > 0) length[size_t(i)] = length[size_t(i - 1)] + distance(polyline[size_t(i)], polyline[size_t(i - 1)]);
  }
  const double total = length.back();
  const auto arcPosition = [&](const FlagVec3& p) {
    size_t best = 0;
    for (size_t i = 1; i < polyline.size(); ++i)
      if (distance(polyline[i], p) < distance(polyline[best], p)) best = i;
    return length[best];
  };
  for (int j = 0; j < 40; ++j) {
    const double position = arcPosition(path.points[size_t(j)]);
    EXPECT_NEAR(position, j / 40.0 * total, 0.01 * total / 40) << "point " << j;
  }
  // Without resampling the same loop is far from even.
  EXPECT_GT(distance(points[15], points[0]) / distance(points[0], points[1]), 2.0);
}

TEST(SplinePathResample, DegenerateInputsStayFinite) {
  // Every segment has zero length: the divisor falls back to 0.001.
  SplinePath still = makePath(std::vector<FlagVec3>(4, FlagVec3{1, 2, 3, 4}), false);
  still.resampleByArcLength(6, 3);
  ASSERT_EQ(still.count, 6);
  for (const FlagVec3& p : still.points) expectSamePoint(p, FlagVec3{1, 2, 3, 4});

  // A zero-length stretch in the middle of a path.
  SplinePath stall = makePath(
      {FlagVec3{1, 0, 0, 0}, FlagVec3{1, 5, 0, 0}, FlagVec3{1, 5, 0, 0}, FlagVec3{1, 5, 0, 0}, FlagVec3{1, 10, 0, 0}},
      false);
  stall.resampleByArcLength(20, 2);
  for (const FlagVec3& p : stall.points) EXPECT_TRUE(std::isfinite(p.x));

  SplinePath one = makePath({FlagVec3{1, 1, 1, 1}}, false);
  one.resampleByArcLength(10, 3);
  EXPECT_EQ(one.count, 1);
  EXPECT_EQ(one.mode, 0);
  SplinePath noSteps = makePath(wavyPoints(5), false);
  noSteps.resampleByArcLength(10, 0);
  EXPECT_EQ(noSteps.count, 5);
}

TEST(SplinePathCubics, EachSegmentMatchesTheClosedCurve) {
  const auto points = wavyPoints(7);
  SplinePath path = makePath(points, true);
  path.segments.resize(3);
  path.computeClosedCubics();
  ASSERT_EQ(path.segments.size(), 7u);
  for (int i = 0; i < 7; ++i) {
    const SegmentCubic& c = path.segments[size_t(i)];
    for (const FlagVec3* v : {&c.a, &c.b, &c.c, &c.d}) EXPECT_EQ(v->flag, 1);
    expectSamePoint(c.d, points[size_t(i)]);
    for (double f : {0.0, 0.3, 0.5, 0.9, 1.0}) {
      const FlagVec3 p = at(path, float(i + f));
      const auto poly = [f](float a, float b, float cc, float d) { return ((a * f + b) * f + cc) * f + d; };
      EXPECT_NEAR(poly(c.a.x, c.b.x, c.c.x, c.d.x), p.x, 1e-4) << "segment " << i << " f " << f;
      EXPECT_NEAR(poly(c.a.y, c.b.y, c.c.y, c.d.y), p.y, 1e-4) << "segment " << i << " f " << f;
      EXPECT_NEAR(poly(c.a.z, c.b.z, c.c.z, c.d.z), p.z, 1e-4) << "segment " << i << " f " << f;
    }
  }
  SplinePath two = makePath(wavyPoints(2), false);
  two.computeClosedCubics();
  EXPECT_EQ(two.segments.size(), 2u);
}

}  // namespace
