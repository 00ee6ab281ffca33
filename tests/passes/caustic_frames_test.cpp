#include "passes/caustic_frames.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {
// Twenty-eight steps a second through sixteen frames, on both sides of each
// step; before the part and for NaN the first frame.
TEST(CausticFrames, TheFrameStepsTwentyEightTimesASecondAndCyclesThroughSixteen) {
  const double step = 1.0 / 28.0;
  const std::pair<double, int> cases[] = {{0.0, 100},
                                          {std::nextafter(step, 0.0), 100},
                                          {std::nextafter(step, 1.0), 101},
                                          {std::nextafter(15 * step, 0.0), 114},
                                          {std::nextafter(15 * step, 1.0), 115},
                                          {std::nextafter(16 * step, 1.0), 100},
                                          {10.0, 108},
                                          {33.5, 110},
                                          {1e12, 100 + int(std::fmod(2.8e13, 16.0))},
                                          {-0.5, 100},
                                          {std::numeric_limits<double>::quiet_NaN(), 100}};
  for (auto [time, frame] : cases) EXPECT_EQ(causticFrame(time), frame) << "t = " << time;
  EXPECT_EQ(causticFrame(std::nextafter(step, 1.0), 40), 41) << "another first number";
}

}  // namespace
