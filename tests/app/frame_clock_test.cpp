#include <gtest/gtest.h>

#include <cmath>

#include "app/frame_clock.h"

namespace {
TEST(FrameClock, SumsEachIntervalSinceTheLastReading) {
  FrameClock clock;
  clock.lastCounter = 1000;
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, 1500, 1000), 0.5);
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, 1750, 1000), 0.75);
  EXPECT_EQ(clock.lastCounter, 1750);
  // Reading twice at the same counter adds nothing the second time.
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, 1750, 1000), 0.75);
}

TEST(FrameClock, AccumulatesQuotientsRatherThanDividingTheTotal) {
  // Three ticks of a 3 Hz counter, read one tick at a time: 1/3 + 1/3 + 1/3
  // in doubles, which differs from 3/3 in the last bit.
  FrameClock clock;
  double expected = 0.0;
  for (int i = 1; i <= 3; ++i) {
    expected += 1.0 / 3.0;
    frameClockAdvance(clock, i, 3);
  }
  EXPECT_EQ(clock.accumulated, expected);
}

TEST(FrameClock, CounterWrapIsDoneIn64Bits) {
  FrameClock clock;
  clock.lastCounter = INT64_C(0x7FFFFFFF00000000);
  EXPECT_DOUBLE_EQ(frameClockAdvance(clock, INT64_C(0x7FFFFFFF00000000) + 4'000'000'000, 1'000'000'000), 4.0);
}

TEST(FrameClock, ZeroFrequencyStandsStillInsteadOfGoingInfinite) {
  FrameClock clock;
  clock.accumulated = 2.0;
  const double value = frameClockAdvance(clock, 12345, 0);
  EXPECT_TRUE(std::isfinite(value));
  EXPECT_DOUBLE_EQ(value, 2.0);
  EXPECT_EQ(clock.lastCounter, 12345);
}

TEST(FrameClock, RealCounterStartsNearZeroAndNeverGoesBack) {
  FrameClock clock;
  frameClockReset(clock);
  double previous = frameClockRead(clock);
  EXPECT_GE(previous, 0.0);
  EXPECT_LT(previous, 0.05);
  for (int i = 0; i < 1000; ++i) {
    const double now = frameClockRead(clock);
    EXPECT_GE(now, previous);
    previous = now;
  }
  frameClockReset(clock);
  EXPECT_LT(frameClockRead(clock), 0.05);
}
}  // namespace
