// The stalk's shape and the two drift rules, pinned to values worked out by
// hand from their written rules (not recomputed from the code's formulas).
#include <gtest/gtest.h>

#include "effects/stalk.h"
#include "geometry/point_drift.h"
#include "math/random.h"

namespace {
TEST(Stalk, TipVerticesAndFadeLieWhereTheRulesPutThem) {
  struct Tip {
    uint32_t seed;
    double t;
    float x, y;
  } tips[] = {{9, 0.0, -0.583597839f, 2.49385977f},
              {9, 3.0, -0.297808409f, 2.49323702f},
              {9, 10.0, -0.321766496f, 2.49178457f},
              {4100, 16.0, -0.89673394f, 2.42231464f}};
  for (const Tip& tip : tips) {
    seedRandom(tip.seed);
    const FlagVec3 p = stalkTip(tip.t);
    EXPECT_NEAR(p.x, tip.x, 1e-6) << tip.seed << " at " << tip.t;
    EXPECT_NEAR(p.y, tip.y, 1e-6) << tip.seed << " at " << tip.t;
    EXPECT_FLOAT_EQ(p.z, 1.4f);
  }
  const FlagVec3 tip{1, 0.1f, 2.9f, 1.4f};
  for (auto [i, x, y] :
       {std::tuple{0, -0.5f, 2.2f}, {15, -0.321875006f, 2.2437501f}, {29, 0.060687799f, 2.81123066f}}) {
    EXPECT_NEAR(stalkVertex(tip, i).x, x, 1e-6) << i;
    EXPECT_NEAR(stalkVertex(tip, i).y, y, 1e-6) << i;
  }
  for (auto [t, fade] : {std::pair{0.0, 0.0}, {0.5, 0.3}, {3.0, 1.0}, {8.6, 0.75}, {9.0, 0.25}, {9.2, 0.0}})
    EXPECT_NEAR(stalkFade(t), fade, 1e-9) << t;
}

// Rates a = 0.3, b = -0.5, c = 2 on a point at z = 5: the z it ends at.
TEST(PointDrift, BothRulesPushWhereTheirBandsSay) {
  struct Row {
    bool ruleA;
    float x, y, z;
  } rows[] = {
      {false, 1.0f, -4.0f, 4.30000019f},  {false, -1.0f, -4.0f, 6.4000001f}, {false, 0.25f, -4.0f, 5.0f},
      {false, 0.31f, -3.2f, 4.76200008f}, {false, 3.0f, 2.5f, 5.25500011f},  {false, -3.0f, 2.5f, 4.57499981f},
      {false, 2.0f, 2.5f, 5.0f},          {false, 3.0f, 3.5f, 5.0f},         {false, 3.0f, -0.9f, 5.30000019f},
      {false, 5.0f, -2.0f, 5.0f},         {false, -5.0f, -3.0f, 5.0f},       {true, 1.3f, 0.0f, 5.0f},
      {true, 0.8f, 0.0f, 5.1500001f},     {true, -2.0f, 0.0f, 4.5f},         {true, 0.05f, 0.0f, 5.0f},
      {true, 0.5f, -4.0f, 4.6500001f},    {true, -0.5f, -4.0f, 5.69999981f}, {true, 0.9f, -2.0f, 5.0f},
      {true, 2.0f, 2.6f, 5.14279985f},    {true, 0.2f, -3.1f, 4.9762001f},
  };
  for (const Row& r : rows) {
    FlagVec3 p{1, r.x, r.y, 5.0f};
    (r.ruleA ? driftPointA : driftPointB)(p, 0.3, -0.5, 2.0);
    EXPECT_FLOAT_EQ(p.z, r.z) << (r.ruleA ? "A " : "B ") << r.x << ", " << r.y;
    EXPECT_EQ(p.x, r.x);
    EXPECT_EQ(p.y, r.y);
    EXPECT_EQ(p.flag, 1);
  }
}
}  // namespace
