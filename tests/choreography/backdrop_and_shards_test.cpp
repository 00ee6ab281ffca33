#include <gtest/gtest.h>

#include "choreography/backdrop_layer.h"
#include "choreography/billboard_layers.h"
#include "choreography/shard_layer.h"

namespace {
// The drop at 18 s: thinner fog and a larger sky box, exactly there.
TEST(Backdrop, FogThinsAndTheSkyGrowsAtTheDrop) {
  EXPECT_EQ(fogDensity(0.0), 0.01);
  EXPECT_EQ(fogDensity(17.999), 0.01);
  EXPECT_EQ(fogDensity(18.0), 0.004);
  EXPECT_EQ(fogDensity(31.0), 0.004);
  EXPECT_EQ(skyBoxSize(17.999), 100.0);
  EXPECT_EQ(skyBoxSize(18.0), 230.0);
}

TEST(Backdrop, TheSkyFadesFrom28Point6AndIsGoneAt30Point6) {
  EXPECT_EQ(skyBoxFade(28.6), 1.0);
  EXPECT_DOUBLE_EQ(skyBoxFade(29.6), 0.5);
  EXPECT_TRUE(skyBoxDrawn(30.5));
  EXPECT_FALSE(skyBoxDrawn(30.6));
  EXPECT_FALSE(skyBoxDrawn(33.0));
  EXPECT_TRUE(skyBoxDrawn(0.0));
}

TEST(Shards, FacesBreakOnTheirOwnDelayAndFlareAt23Point5) {
  // No delay is longer than 3 s, so nothing breaks before 17.5 s.
  for (int face = 0; face < 2000; face += 7) EXPECT_EQ(shardProgress(17.5, face), 0.0);
  int broken = 0;
  for (int face = 0; face < 2000; ++face) broken += shardProgress(21.0, face) > kLeastShardProgress;
  EXPECT_GT(broken, 200);
  EXPECT_LT(broken, 1800);
  EXPECT_DOUBLE_EQ(shardBrightness(22.0), 0.3);
  EXPECT_DOUBLE_EQ(shardBrightness(23.5001), 0.55);  // the flare is clamped
  EXPECT_NEAR(shardBrightness(24.5), 0.5 * 0.5 * 1.1, 1e-12);
  // Late on the flare has died below the clamp.
  EXPECT_NEAR(shardBrightness(24.9), 0.1 * 0.5 * 0.6 * (8.0 / (1.4 * 7.0 + 1.0) + 1.0), 1e-12);
  EXPECT_EQ(shardBrightness(25.0), 0.0);
  const FlagVec3 c = shardCorner(FlagVec3{1, 10, 0, -10});
  EXPECT_FLOAT_EQ(c.x, 12.1f);
  EXPECT_FLOAT_EQ(c.y, -80.0f);
  EXPECT_FLOAT_EQ(c.z, 31.5f);
}

// Every billboard layer fades in and out inside its window.
TEST(Billboards, EachLayerIsDarkAtItsEdgesAndLitInside) {
  for (const BillboardPlace& b : cameraQuads(9.9)) EXPECT_EQ(b.brightness, 0.0);
  for (const BillboardPlace& b : cameraQuads(15.0)) EXPECT_GT(b.brightness, 0.5);
  for (const BillboardPlace& b : cameraQuads(22.0)) EXPECT_NEAR(b.brightness, 0.0, 1e-12);
  for (const BillboardPlace& b : wingBillboards(17.0)) EXPECT_EQ(b.brightness, 0.0);
  for (const BillboardPlace& b : wingBillboards(24.0)) EXPECT_GT(b.brightness, 0.9);
  for (const BillboardPlace& b : wingBillboards(30.0)) EXPECT_NEAR(b.brightness, 0.0, 1e-12);
  double lit = 0.0;
  for (int i = 0; i < kLineLights; ++i) {
    const BillboardPlace b = lineLight(24.0, i);
    EXPECT_GE(b.brightness, 0.0);
    EXPECT_LE(b.brightness, 1.0);
    lit += b.brightness;
    EXPECT_NEAR(lineLight(30.2, i).brightness, 0.0, 1e-12);
  }
  EXPECT_GT(lit, 0.5 * kLineLights);
}
}  // namespace
