#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "choreography/layer_windows.h"
#include "choreography/mesh_layers.h"
#include "choreography/scene_frame.h"
#include "choreography/scene_layers.h"
#include "choreography/water_layer.h"
#include "math/random.h"

namespace {
TEST(SceneLayers, EveryRowOfTheWindowTableHasItsDrawingInTheSameOrder) {
  const auto layers = choreographyLayers();
  const auto drawings = layerDrawings();
  ASSERT_EQ(layers.size(), drawings.size());
  for (size_t i = 0; i < layers.size(); ++i) EXPECT_EQ(layers[i].number, drawings[i].number);
}

// The layer table in the docs names these files: each drawn layer's file
// must be there, and an undrawn layer names none.
TEST(SceneLayers, EveryDrawnLayerNamesTheSourceFileThatDrawsIt) {
  const std::filesystem::path here(__FILE__);
  const std::filesystem::path src = here.parent_path().parent_path().parent_path() / "src";
  for (const LayerDrawing& d : layerDrawings()) {
    ASSERT_NE(d.file, nullptr) << d.number;
    if (d.draw == nullptr) {
      EXPECT_STREQ(d.file, "") << d.number;
    } else {
      EXPECT_TRUE(std::filesystem::is_regular_file(src / d.file)) << d.number << ": " << d.file;
    }
  }
}

TEST(SceneLayers, TheBaseMeshGrowsFromSixAndShrinksAwayAfterTwentySevenPointSix) {
  EXPECT_EQ(baseFaceFraction(5.0), 0.0);
  EXPECT_DOUBLE_EQ(baseFaceFraction(6.5), 0.5);
  EXPECT_EQ(baseFaceFraction(20.0), 1.0);
  EXPECT_EQ(baseFaceFraction(27.6), 1.0);
  EXPECT_NEAR(baseFaceFraction(28.0), 0.6, 1e-12);
  EXPECT_EQ(baseFaceFraction(29.0), 0.0);
}

// The copies' own growth and fall, from a fixed generator state (that the
// layer re-seeds, so a frame drawn twice places them alike, is checked on
// the drawn layer in layer_drawing_test).
TEST(SceneLayers, TheScatteredCopiesGrowAndFallOnTheirOwnTimes) {
  auto layout = [](double T) {
    seedRandom(1000);
    for (int k = 0; k < 120; ++k) random01();
    std::vector<ManCopy> copies;
    for (int i = 0; i < 9; ++i) copies.push_back(nextManCopy(T, i));
    return copies;
  };
  // Not yet grown at 5.3 s; about half of 0.46 a second later for copy 0;
  // gone after 20.5 s.
  EXPECT_EQ(layout(5.3)[0].faceFraction, 0.0);
  EXPECT_NEAR(layout(6.3)[0].faceFraction, 0.23, 1e-12);
  EXPECT_EQ(layout(20.5)[0].faceFraction, 0.0);
  // Copy 1 comes down 40 units into place over 5 s; copy 0 stands there
  // from the start (both before they begin to fall at 15 s).
  EXPECT_NEAR(layout(6.0)[1].z - layout(12.0)[1].z, 40.0, 1e-9);
  EXPECT_EQ(layout(12.0)[0].z, layout(6.0)[0].z);
}

TEST(WaterLayer, TheSeedIsThePartTimeInNanosecondsCutToItsLow32Bits) {
  EXPECT_EQ(waterSeed(1.0), 1000000000u);
  // 3 s = 3e9 ns, past what 32 signed bits hold: the low bits, not a clamp.
  EXPECT_EQ(waterSeed(3.0), static_cast<uint32_t>(3000000000ull));
  EXPECT_EQ(waterSeed(30.0), static_cast<uint32_t>(30000000000ull & 0xffffffffull));
  EXPECT_NE(waterSeed(25.0), waterSeed(25.0 + 1.0 / 60));
}

// Long frames must not rain harder: at most one drop and one step a frame,
// the clock stays ahead and a drop follows every frame; drops land
// somewhere else each frame.
TEST(WaterLayer, AtMostOneDropAFrameAndEachFrameDropsElsewhere) {
  RippleField ripple(0.03, 128, 128);
  double clock = 0.0;
  WaterState water{&ripple, &clock};
  std::set<std::pair<int, int>> places;
  double T = 12.0;
  for (int frame = 0; frame < 20; ++frame, T += 0.1) {
    const RippleStep step = advanceRipple(water, T, 0.1);
    ASSERT_TRUE(step.dropped) << frame;
    EXPECT_GE(step.x, 5);
    EXPECT_LT(step.x, 125);
    places.insert({step.x, step.y});
  }
  EXPECT_GT(clock, 0.0);
  EXPECT_GE(places.size(), 18u);

  // No rain outside the window, nor in the break around 21 s; the clock
  // does not run there.
  clock = 0.0;
  EXPECT_FALSE(advanceRipple(water, 9.0, 0.1).dropped);
  EXPECT_FALSE(advanceRipple(water, 21.0, 0.1).dropped);
  EXPECT_EQ(clock, 0.0);
  // Short frames drop only when the clock has come round.
  int drops = 0;
  for (int frame = 0; frame < 30; ++frame) drops += advanceRipple(water, 12.0 + frame * 0.01, 0.01).dropped;
  EXPECT_NEAR(drops, 10, 1);
}
}  // namespace
