#include "math/random.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> draw(int count) {
  std::vector<int> values;
  for (int k = 0; k < count; ++k) values.push_back(nextRandom());
  return values;
}

TEST(Random, FollowsTheFifteenBitCongruentialSequenceFromItsSeed) {
  // state = state * 214013 + 2531011 (mod 2^32), value = bits 16..30, by
  // its known values (the state wraps from the third draw on); a seed
  // restarts the sequence whatever was drawn before.
  seedRandom(1);
  EXPECT_EQ(draw(5), (std::vector<int>{41, 18467, 6334, 26500, 19169}));
  seedRandom(0);
  EXPECT_EQ(nextRandom(), 38);
}

TEST(Random, Random01ScalesByOneOver32767IncludingBothEnds) {
  for (uint32_t seed : {1u, 31337u}) {
    seedRandom(seed);
    const int v = nextRandom();
    seedRandom(seed);
    EXPECT_DOUBLE_EQ(random01(), v * 3.051850947599719e-5);
  }
  seedRandom(5);
  double low = 1, high = 0;
  for (int k = 0; k < 200000; ++k) {
    const double v = random01();
    low = std::min(low, v);
    high = std::max(high, v);
  }
  EXPECT_EQ(low, 0.0);
  EXPECT_EQ(high, 1.0);
}

}  // namespace
