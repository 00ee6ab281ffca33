#include "choreography/point_layers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "math/camera_view.h"
#include "math/random.h"

namespace {
std::vector<FlagVec3> cloud(int n) {
  std::vector<FlagVec3> points;
  for (int k = 0; k < n; ++k) points.push_back(FlagVec3{1, 0.01f * k, -12.0f + 0.002f * k, 0.5f});
  return points;
}

TEST(PointLayers, CountsGrowWithTheFadeAndStopAtTheArrayOrTheLimit) {
  EXPECT_EQ(pointCount(1300.0, 0.0, 1000), 0);
  EXPECT_EQ(pointCount(1300.0, 0.5, 1000), 650);
  EXPECT_EQ(pointCount(1300.0, 1.0, 1000), 1000);
  // A part fraction still starts its point: k runs while k < 1300 x fade.
  EXPECT_EQ(pointCount(1300.0, 0.0001, 1000), 1);
  // A smaller cloud is never read past its end.
  EXPECT_EQ(pointCount(1800.0, 1.0, 300), 300);
  EXPECT_EQ(pointCount(1800.0, 1.0, 5000), 1000);
}

TEST(PointLayers, TwinklingPointsNumber1300TimesTheFadeAtMostAThousand) {
  const auto points = cloud(1000);
  EXPECT_TRUE(twinklingLayout(points, 6.0).empty());
  EXPECT_EQ(twinklingLayout(points, 6.5).size(), 650u);
  EXPECT_EQ(twinklingLayout(points, 7.0).size(), 1000u);
  EXPECT_EQ(twinklingLayout(points, 15.0).size(), 1000u);
  EXPECT_EQ(twinklingLayout(cloud(200), 15.0).size(), 200u);
}

// That one part time twinkles alike whatever ran between is checked on the
// drawn layer (layer_drawing_test), which lays out through the same code.
TEST(PointLayers, TwinklingPointsStayNearTheSurfaceAndTwinkle) {
  const auto points = cloud(1000);
  const auto a = twinklingLayout(points, 12.25);
  // Jittered by at most 0.1 across, lifted by less than 10.
  for (size_t k = 0; k < a.size(); ++k) {
    EXPECT_LE(std::fabs(a[k].centre.x - points[k].x), 0.1f + 1e-6f);
    EXPECT_LE(std::fabs(a[k].centre.y - points[k].y), 0.1f + 1e-6f);
    EXPECT_GE(a[k].centre.z - points[k].z, 0.0f);
    EXPECT_LT(a[k].centre.z - points[k].z, 10.0f);
    EXPECT_GE(a[k].alpha, 0.0f);
    EXPECT_LE(a[k].alpha, 1.0f);
  }
  // And they do twinkle: another moment lights other points.
  const auto later = twinklingLayout(points, 13.0);
  int changed = 0;
  for (size_t k = 0; k < a.size(); ++k) changed += a[k].alpha != later[k].alpha;
  EXPECT_GT(changed, 900);
  // Half faded in, no point is brighter than half.
  for (const PointSprite& s : twinklingLayout(points, 6.5)) EXPECT_LE(s.alpha, 0.5f);
}

TEST(PointLayers, DriftingPointsPeelOffInOrderAndComeBackTowardsTheSurface) {
  const auto points = cloud(1000);
  // Before 11.3 s no point has begun to move.
  EXPECT_TRUE(driftingLayout(points, 11.2).empty());
  const auto early = driftingLayout(points, 12.0);
  const auto full = driftingLayout(points, 19.0);
  EXPECT_GT(early.size(), 0u);
  EXPECT_EQ(full.size(), 1000u);
  for (const PointSprite& s : full) {
    EXPECT_GT(s.alpha, 0.0f);
    EXPECT_LE(s.alpha, float(driftFade(19.0)) + 1e-6f);
  }
  // Scaled by 2 x (2 - q): four times out at the start, twice when done.
  EXPECT_NEAR(driftingLayout(points, 20.5)[0].centre.x, 2.0 * points[0].x, 0.2);
  EXPECT_EQ(driftFade(11.0), 0.0);
  EXPECT_EQ(driftFade(15.0), 1.0);
  EXPECT_EQ(driftFade(21.0), 0.0);
  const auto again = driftingLayout(points, 19.0);
  for (size_t k = 0; k < full.size(); ++k) EXPECT_EQ(full[k].centre.z, again[k].centre.z);
}

TEST(PointLayers, SpritesFaceTheCameraSquarely) {
  CameraView camera{FlagVec3{1, 5, 5, 8}, FlagVec3{1, 0, 0.8f, 0}, FlagVec3{1, 0, 0, 1}};
  const FacingAxes axes = facingAxes(camera);
  FlagVec3 forward = camera.centre - camera.eye;
  normalize(forward);
  auto dot = [](const FlagVec3& a, const FlagVec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
  EXPECT_NEAR(dot(axes.right, forward), 0.0f, 1e-6f);
  EXPECT_NEAR(dot(axes.up, forward), 0.0f, 1e-6f);
  EXPECT_NEAR(dot(axes.right, axes.up), 0.0f, 1e-6f);
  EXPECT_NEAR(dot(axes.right, axes.right), 1.0f, 1e-6f);
  // The quad's up leans the camera's way.
  EXPECT_GT(dot(axes.up, camera.up), 0.0f);
}
}  // namespace
