#include <gtest/gtest.h>

#include "app/live_playback.h"

namespace {
TEST(LiveStepClock, PausedStepsAreZeroOrOneSixtiethAndTheClockDoesNotCatchUpLater) {
  FrameClock wall;
  frameClockReset(wall);
  LivePlayback playback;
  LiveStepClock clock(wall, playback);
  DirectorState state;
  EXPECT_GE(clock.nextStep(state), 0.0);
  EXPECT_TRUE(clock.locksToMusic());

  playback.paused = true;
  playback.pendingSteps = 2;
  EXPECT_FALSE(clock.locksToMusic());
  EXPECT_EQ(clock.nextStep(state), 1.0 / 60);
  EXPECT_EQ(clock.nextStep(state), 1.0 / 60);
  EXPECT_EQ(clock.nextStep(state), 0.0);
  EXPECT_EQ(playback.pendingSteps, 0);

  // Resumed: the step is the time since the last frame, not since the pause.
  playback.paused = false;
  EXPECT_LT(clock.nextStep(state), 0.5);
}
}  // namespace
