#include "effects/stalk.h"

#include <gtest/gtest.h>

#include <cmath>

#include "math/random.h"

namespace {
struct Draws {
  double g, oy, ox;
};
Draws drawsFor(uint32_t seed) {
  seedRandom(seed);
  const double g = random01(), oy = random01(), ox = random01();
  return {g, oy, ox};
}

TEST(Stalk, StandsAtItsStartingHeightAtTimeZero) {
  for (uint32_t seed : {1u, 4100u, 77777u}) {
    const Draws d = drawsFor(seed);
    seedRandom(seed);
    const FlagVec3 tip = stalkTip(0.0);
    // No sway at t = 0 (sin(r * 0) = 0, so the angle is pi/2), and both
    // growth terms are still 0: only the random height and lean remain.
    EXPECT_FLOAT_EQ(tip.y, float(2.2 + d.oy * 0.5 + 0.2)) << seed;
    EXPECT_FLOAT_EQ(tip.x, float(d.ox * 0.3 - 0.3 - 0.45)) << seed;
    EXPECT_FLOAT_EQ(tip.z, 1.4f);
  }
}

TEST(Stalk, GrowsUpThenLeansBack) {
  const Draws d = drawsFor(9);
  seedRandom(9);
  const FlagVec3 grown = stalkTip(5.0);  // first growth term complete
  const double g = std::sin(d.g * 5.0) * 0.5 + 3.141592653589793 / 2.0;
  EXPECT_FLOAT_EQ(grown.x, float(std::sin(g) * 0.2 - 0.2 + d.ox * 0.3 - 0.3));
  seedRandom(9);
  EXPECT_FLOAT_EQ(stalkTip(16.0).x, float(std::sin(std::sin(d.g * 16.0) * 0.5 + 3.141592653589793 / 2.0) * 0.2 - 0.2 +
                                          d.ox * 0.3 - 0.3 - 0.85));
}

TEST(Stalk, LeavesItsRootAndBendsIntoTheTip) {
  const FlagVec3 tip{1, 0.1f, 2.9f, 1.4f};
  const FlagVec3 root = stalkVertex(tip, 0);
  EXPECT_FLOAT_EQ(root.x, -0.5f);
  EXPECT_FLOAT_EQ(root.y, 2.2f);
  EXPECT_FLOAT_EQ(root.z, 1.4f);
  // Halfway along the stalk has covered only u^4 = 1/16 of the way across.
  const FlagVec3 mid = stalkVertex(tip, kStalkVertices / 2);
  EXPECT_NEAR(mid.y, 2.2 + 0.7 / 16.0, 1e-6);
  const FlagVec3 last = stalkVertex(tip, kStalkVertices - 1);
  EXPECT_GT(last.y, 2.2f + 0.7f * 0.8f);
  EXPECT_LT(last.y, tip.y);
}

TEST(Stalk, FadesInAndIsGoneBeforeTheFirstHit) {
  EXPECT_EQ(stalkFade(0.0), 0.0);
  EXPECT_EQ(stalkFade(3.0), 1.0);
  EXPECT_NEAR(stalkFade(9.2), 0.0, 1e-9);
}
}  // namespace
