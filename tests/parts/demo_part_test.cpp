#include <gtest/gtest.h>

#include "math/random.h"
#include "parts/demo_part.h"

namespace {
// A part that keeps the shared bookkeeping and draws nothing.
class CountingPart final : public DemoPart {
 public:
  void drawFrame(double* frameDelta, OffscreenTarget*, DemoApp*, FrameInputs*) override {
    if (advancePartTime(*frameDelta)) {
      ++frameCount;
      lastFrameDelta = *frameDelta;
    }
  }
  void setUp(DemoApp*) override { resetPartState(); }
};

class DemoPartTest : public ::testing::Test {
 protected:
  void SetUp() override { part.setUp(nullptr); }
  void play(double delta, int frames) {
    for (int i = 0; i < frames; ++i) part.drawFrame(&delta, nullptr, nullptr, &inputs);
  }
  CountingPart part;
  FrameInputs inputs;
};

TEST_F(DemoPartTest, SetUpStartsTheClockAndDrawsTheLettersFromTheDemosOwnGenerator) {
  part.timeAccumulator = part.partTime = 9.0;
  part.frameCount = 3;
  seedRandom(77);
  part.setUp(nullptr);
  EXPECT_EQ(part.partTime, 0.0);
  EXPECT_EQ(part.frameCount, 0);
  for (uint8_t letter : part.randomLetters) {
    EXPECT_GE(letter, 64);
    EXPECT_LE(letter, 89);
  }
  CountingPart again;
  seedRandom(77);
  again.setUp(nullptr);
  EXPECT_EQ(again.randomLetters, part.randomLetters);
}

TEST_F(DemoPartTest, PartTimeRunsAtDemoSpeedUntil16Point8) {
  play(0.1, 168);
  EXPECT_NEAR(part.partTime, 16.8, 1e-9);
  EXPECT_EQ(part.frameCount, 168);
}

TEST_F(DemoPartTest, PartTimeSpeedsUpByATenthOverFiveSeconds) {
  part.timeAccumulator = part.partTime = 21.8;  // the first ramp is complete
  play(0.01, 1);
  EXPECT_NEAR(part.partTime - 21.8, 0.011, 1e-12);
  part.timeAccumulator = part.partTime = 28.0;  // both ramps complete
  play(0.01, 1);
  EXPECT_NEAR(part.partTime - 28.0, (1.1 - 0.6 * 0.03) * 0.01, 1e-12);
}

TEST_F(DemoPartTest, ZeroDeltaCountsTheFrameButKeepsTheTime) {
  play(0.5, 3);
  const double before = part.partTime;
  play(0.0, 1);
  EXPECT_EQ(part.partTime, before);
  EXPECT_EQ(part.frameCount, 4);
}

TEST_F(DemoPartTest, NothingIsDrawnAfter34Point2) {
  part.timeAccumulator = part.partTime = 34.19;
  play(0.001, 5);
  const int counted = part.frameCount;
  play(0.01, 10);
  EXPECT_GT(part.partTime, DemoPart::kPartEndTime);
  EXPECT_LE(part.frameCount, counted + 1);
  const int frozen = part.frameCount;
  play(0.01, 10);
  EXPECT_EQ(part.frameCount, frozen);
}

}  // namespace
