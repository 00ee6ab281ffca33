#include "effects/point_drift.h"

#include <gtest/gtest.h>

namespace {
constexpr double kA = 0.3, kB = -0.5, kC = 2.0;

FlagVec3 driftedB(float x, float y) {
  FlagVec3 p{1, x, y, 5.0f};
  driftPointB(p, kA, kB, kC);
  return p;
}

FlagVec3 driftedA(float x, float y) {
  FlagVec3 p{1, x, y, 5.0f};
  driftPointA(p, kA, kB, kC);
  return p;
}

TEST(PointDrift, RuleBLeavesTheBandBetweenMinusThreeAndMinusOne) {
  for (float y : {-1.0f, -2.0f, -3.0f}) {
    for (float x : {-5.0f, -1.0f, 0.0f, 1.0f, 5.0f}) {
      const FlagVec3 p = driftedB(x, y);
      EXPECT_EQ(p.z, 5.0f) << x << ", " << y;
      EXPECT_EQ(p.x, x);
      EXPECT_EQ(p.y, y);
      EXPECT_EQ(p.flag, 1);
    }
  }
}

TEST(PointDrift, RuleBPushesBothSidesOfEachBand) {
  // y = -4: w2 = 1.7, held to 1, times 0.7.
  EXPECT_FLOAT_EQ(driftedB(1.0f, -4.0f).z, float(5.0 + 0.7 * kB * kC));
  EXPECT_FLOAT_EQ(driftedB(-1.0f, -4.0f).z, float(5.0 + 0.7 * kC));
  EXPECT_EQ(driftedB(0.25f, -4.0f).z, 5.0f);  // the lower band needs |x| > 0.3
  // Upper band at y = 2.5: w = 0.5 * 1.7 = 0.85.
  EXPECT_FLOAT_EQ(driftedB(3.0f, 2.5f).z, float(5.0 + 0.85 * kA));
  EXPECT_FLOAT_EQ(driftedB(-3.0f, 2.5f).z, float(5.0 + 0.85 * kB));
  EXPECT_EQ(driftedB(2.0f, 2.5f).z, 5.0f);  // inside |x| <= 2.3
  EXPECT_EQ(driftedB(3.0f, 3.5f).z, 5.0f);  // above y = 3 the weight is 0
}

TEST(PointDrift, RuleAFadesThePushInWithDistanceFromItsCentre) {
  EXPECT_EQ(driftedA(1.3f, 0.0f).z, 5.0f);  // k = |x - 1.3| = 0
  EXPECT_FLOAT_EQ(driftedA(0.8f, 0.0f).z, float(5.0 + kA * (1.3 - 0.8f)));
  EXPECT_FLOAT_EQ(driftedA(-2.0f, 0.0f).z, float(5.0 + kB));  // k held to 1
  EXPECT_EQ(driftedA(0.05f, 0.0f).z, 5.0f);                   // inside |x| <= 0.1
  // Lower band: k2 = |x|, the weight 0.7 at y = -4.
  EXPECT_FLOAT_EQ(driftedA(0.5f, -4.0f).z, float(5.0 + 0.7 * kB * kC * 0.5));
  EXPECT_FLOAT_EQ(driftedA(-0.5f, -4.0f).z, float(5.0 + 0.7 * kC * 0.5));
  EXPECT_EQ(driftedA(0.9f, -2.0f).z, 5.0f);
}
}  // namespace
