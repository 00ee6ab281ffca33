#include "geometry/curve_paths.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>
#include <vector>

#include "math/random.h"

namespace {
// A row of points along x, one unit apart, from -20 to 20.
std::vector<FlagVec3> lineCloud() {
  std::vector<FlagVec3> cloud;
  for (int i = -20; i <= 20; ++i) cloud.push_back(FlagVec3{1, float(i), 0.0f, 0.0f});
  return cloud;
}

// A deterministic surface-like cloud for the whole set-up.
std::vector<FlagVec3> scatteredCloud() {
  seedRandom(7);
  std::vector<FlagVec3> cloud(1000);
  for (FlagVec3& p : cloud) {
    p = FlagVec3{1, float(random01() * 8 - 4), float(random01() * 20 - 12), float(random01() * 6 - 3)};
  }
  return cloud;
}
}  // namespace

TEST(CurvePaths, GrowPathHopsToTheNearestPointPushedOutwardsAndKeepsItsFlag) {
  std::vector<FlagVec3> cloud = lineCloud();
  cloud[21].flag = 2;  // the point at x = 1
  SplinePath path;
  // Straight steps of one unit along +x (phase 0 turns nothing sideways in x).
  growPath(path, cloud.data(), int32_t(cloud.size()), 3, PathGrowth{FlagVec3{1, 0, 0, 0}, 1.0f, 0.0, 0.0, 1.0});
  ASSERT_EQ(path.count, 3);
  ASSERT_EQ(path.points.size(), 3u);
  EXPECT_FLOAT_EQ(path.points[0].x, 1.05f);
  EXPECT_EQ(path.points[0].flag, 2);
  EXPECT_FLOAT_EQ(path.points[1].x, 2.1f);
  EXPECT_FLOAT_EQ(path.points[2].x, 3.15f);
}

TEST(CurvePaths, NegativeScaleWalksTowardsMinusXAndTiesGoToTheFirstPoint) {
  const std::vector<FlagVec3> cloud = lineCloud();
  SplinePath path;
  growPath(path, cloud.data(), int32_t(cloud.size()), 2, PathGrowth{FlagVec3{1, 0, 0, 0}, -1.0f, 0.0, 0.0, 1.0});
  EXPECT_FLOAT_EQ(path.points[0].x, -1.05f);
  EXPECT_FLOAT_EQ(path.points[1].x, -2.1f);

  // Aim at 0.5, halfway between 0 and 1: the earlier of the two (x = 0) wins.
  const FlagVec3 pair[] = {{1, 0, 0, 0}, {1, 1, 0, 0}};
  SplinePath tie;
  growPath(tie, pair, 2, 1, PathGrowth{FlagVec3{1, 0, 0, 0}, 1.0f, 0.0, 0.0, 0.5});
  EXPECT_FLOAT_EQ(tie.points[0].x, 0.0f);

  SplinePath none;
  growPath(none, pair, 0, 5, PathGrowth{FlagVec3{1, 0, 0, 0}, 1.0f, 0.0, 0.0, 1.0});
  EXPECT_EQ(none.count, 0);
}

// The streams' starts are drawn from the generator (seed 31000, 1000 draws,
// then three a stream); the first point of a stream, worked out by hand, is
// the cloud point nearest its first aim, pushed 5 % out. Even streams walk
// towards +x, odd ones towards -x; all end high above the scene, and the
// generator is left where it always is.
TEST(CurvePaths, TheTwoHundredStreamsStartWhereTheirDrawsPutThemAndAlternateSides) {
  const std::vector<FlagVec3> cloud = scatteredCloud();
  auto first = std::make_unique<std::array<SplinePath, 200>>();
  growCurvePaths(*first, cloud.data(), 1000);
  const int afterFirst = nextRandom();
  growCurvePaths(*first, cloud.data(), 1000);
  EXPECT_EQ(nextRandom(), afterFirst);
  for (auto [i, x, y, z] : {std::tuple{0, 0.897115946f, -3.23341155f, -1.24732959f},
                            {1, -4.14642143f, -7.34214926f, -0.290034175f},
                            {199, -3.42119193f, -1.88305902f, -0.430196524f}}) {
    const FlagVec3& p = (*first)[size_t(i)].points.at(0);
    EXPECT_TRUE(p.x == x && p.y == y && p.z == z) << i << ": " << p.x << " " << p.y << " " << p.z;
  }
  double evenDrift = 0.0, oddDrift = 0.0;
  for (size_t i = 0; i < 200; ++i) {
    const SplinePath& a = (*first)[i];
    ASSERT_EQ(a.count, 20) << i;
    EXPECT_EQ(a.segments.size(), 20u);
    EXPECT_FALSE(a.closed);
    EXPECT_GT(a.points.back().z, 30.0f);
    (i % 2 == 0 ? evenDrift : oddDrift) += a.points[8].x - a.points[0].x;
  }
  EXPECT_GT(evenDrift, 0.0);
  EXPECT_LT(oddDrift, 0.0);
}
