#include "parts/part_clock.h"

#include <gtest/gtest.h>

#include "parts/demo_part.h"

namespace {
class ClockOnlyPart final : public DemoPart {
 public:
  void setUp(DemoApp*) override { resetPartState(); }
  void drawPartFrame(OffscreenTarget*, DemoApp*, FrameInputs*) override {}
};

TEST(PartClock, DemoSecondsAreThePartTimeUntilTheClockSpeedsUp) {
  EXPECT_EQ(demoSecondsAt(0.0, -0.6), 0.0);
  EXPECT_NEAR(demoSecondsAt(9.9, -0.6), 9.9, 1e-9);
  EXPECT_NEAR(demoSecondsAt(16.8, -0.6), 16.8, 1e-9);
  EXPECT_DOUBLE_EQ(partClockRate(10.0, -0.6), 1.0);
  EXPECT_DOUBLE_EQ(partClockRate(22.0, -0.6), 1.1);
  EXPECT_DOUBLE_EQ(partClockRate(30.0, -0.6), 1.1 - 0.018);
  // The part is over before the demo's 33.5 s.
  EXPECT_GT(demoSecondsAt(DemoPart::kPartEndTime, -0.6), 32.5);
  EXPECT_LT(demoSecondsAt(DemoPart::kPartEndTime, -0.6), 33.5);
}

// The inverse agrees with the part's own clock run in short frames.
TEST(PartClock, DemoSecondsInvertThePartsOwnClock) {
  ClockOnlyPart part;
  part.setUp(nullptr);
  part.speedBias = -0.6;
  constexpr double kFrame = 0.001;
  double demo = 0.0;
  for (double target : {12.0, 18.0, 23.5, 30.0, 34.0}) {
    while (part.partTime < target) {
      part.advanceWithoutDrawing(kFrame);
      demo += kFrame;
    }
    EXPECT_NEAR(demoSecondsAt(part.partTime, -0.6), demo, 0.005) << target;
  }
}
}  // namespace
