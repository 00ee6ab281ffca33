#include <gtest/gtest.h>

#include <chrono>

#include "platform/system.h"

// The counter's reading lies between the steady clock's readings taken just
// inside and just outside it: a loaded machine stretches both alike.
TEST(PerformanceCounter, RunsForwardAtItsStatedRate) {
  using Clock = std::chrono::steady_clock;
  ASSERT_GT(performanceFrequency(), 0);
  const auto outerStart = Clock::now();
  const int64_t a = performanceCounter();
  const auto innerStart = Clock::now();
  auto innerEnd = innerStart;
  while (innerEnd - innerStart < std::chrono::milliseconds(50)) innerEnd = Clock::now();
  const int64_t b = performanceCounter();
  const auto outerEnd = Clock::now();
  const double counted = double(b - a) / double(performanceFrequency());
  EXPECT_GE(counted, std::chrono::duration<double>(innerEnd - innerStart).count() - 1e-3);
  EXPECT_LE(counted, std::chrono::duration<double>(outerEnd - outerStart).count() + 1e-3);
}
