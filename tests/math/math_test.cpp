// The math every layer stands on, against values worked out by hand or
// written out independently (the rotations, a hand-inverted block).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "math/flag_vec3.h"
#include "math/matrix4d.h"
#include "math/pulse.h"
#include "math/random.h"
#include "math/ripple_field.h"

namespace {

void expectVec(const FlagVec3& v, int flag, float x, float y, float z) {
  EXPECT_EQ(v.flag, flag);
  EXPECT_FLOAT_EQ(v.x, x);
  EXPECT_FLOAT_EQ(v.y, y);
  EXPECT_FLOAT_EQ(v.z, z);
}

// state = state * 214013 + 2531011 (mod 2^32), value = bits 16..30; a seed
// restarts it; random01 is value / 32767, both ends reached.
TEST(Random, FollowsTheFifteenBitCongruentialSequenceFromItsSeed) {
  seedRandom(1);
  for (int v : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(nextRandom(), v);
  seedRandom(0);
  EXPECT_EQ(nextRandom(), 38);
  seedRandom(1);
  EXPECT_DOUBLE_EQ(random01(), 41 / 32767.0);
  double low = 1, high = 0;
  for (int k = 0; k < 200000; ++k) low = std::min(low, random01()), high = std::max(high, random01());
  EXPECT_EQ(low, 0.0);
  EXPECT_EQ(high, 1.0);
}

// The pulses' last kept values and first cut ones: 1 / (s + 1) down to
// 7.5e-5 (1989.9 s at a b = 6.7), the damped cosine while a u + 1 stays at
// most 100000; the pole before the trigger gives 0, never infinity.
TEST(Pulse, CurvesEndAtTheirCutOffsAndAtThePole) {
  Pulse pulse{10.0};
  EXPECT_DOUBLE_EQ(pulse.decay(11.0, 6.7, 1.0), 1.0 / 7.7);
  EXPECT_GT(pulse.decay(10.0 + 1989.0, 6.7, 1.0), 7.5e-5);
  EXPECT_EQ(pulse.decay(10.0 + 1991.0, 6.7, 1.0), 0.0);
  EXPECT_EQ(pulse.decay(9.0, 1.0, 1.0), 0.0);
  const double last = (100000.0 - 1.0) / 4.0;
  EXPECT_NE(pulse.dampedCosine(10.0 + last * 0.999, 4.0, 1.0), 0.0);
  EXPECT_EQ(pulse.dampedCosine(10.0 + last * 1.001, 4.0, 1.0), 0.0);
  EXPECT_EQ(pulse.dampedCosine(9.75, 4.0, 1.0), 0.0);
  EXPECT_TRUE(std::isfinite(pulse.dampedCosine(9.7501, 4.0, 1.0)));
}

TEST(FlagVec3, UnsetOperandsWipeResultsScalingKeepsTheFlagAndNormalizeTouchesOnlyPlainVectors) {
  const FlagVec3 unset{0, 5, 5, 5}, b{2, 1, 2, 3};
  for (const FlagVec3& v : {unset + b, b - unset, cross(b, unset), cross(unset, b), unset * 2.0f})
    expectVec(v, 1, 0, 0, 0);
  expectVec(b + FlagVec3{2, 10, 20, 30}, 1, 11, 22, 33);
  expectVec(b - FlagVec3{2, 10, 20, 30}, 1, -9, -18, -27);
  expectVec(cross(FlagVec3{1, 1, 2, 3}, FlagVec3{1, 4, 5, 6}), 1, -3, 6, -3);
  expectVec(FlagVec3{2, 0, 0, 1} * 3.0f, 2, 0, 0, 3);
  expectVec(FlagVec3{1, 1, -2, 4} * -0.5f, 1, -0.5f, 1, -2);
  FlagVec3 d{1, 1, 2, 3}, c{1, 4, 5, 6};
  cross(d, c, c);  // out may alias an input
  expectVec(c, 1, -3, 6, -3);
  FlagVec3 v{1, 3, 0, 4}, tiny{1, 0, 0, 5e-9f}, unsetToo{0, 3, 0, 4}, scaled = FlagVec3{2, 0, 0, 1} * 3.0f;
  for (FlagVec3* w : {&v, &v, &tiny, &unsetToo, &scaled}) normalize(*w);
  expectVec(v, 2, 0.6f, 0, 0.8f);
  expectVec(tiny, 2, 0, 0, 0);
  expectVec(unsetToo, 0, 3, 0, 4);
  expectVec(scaled, 2, 0, 0, 3);  // a scaled unit vector is not renormalized
}

// Rx(ax) Ry(ay) Rz(az) written out independently, applied to a vector; the
// 3 x 3 inverse of a general block by hand (det 7), as the 3DS loader uses it.
TEST(Matrix4d, RotationsAndInversesAgreeWithHandWork) {
  const double ax = 0.3, ay = -1.1, az = 2.4, v[3] = {0.3, -1.2, 2.5};
  double r[3] = {v[0], v[1], v[2]};
  r[0] = std::cos(az) * v[0] - std::sin(az) * v[1], r[1] = std::sin(az) * v[0] + std::cos(az) * v[1];
  const double z = -std::sin(ay) * r[0] + std::cos(ay) * r[2];
  r[0] = std::cos(ay) * r[0] + std::sin(ay) * r[2], r[2] = z;
  const double y = std::cos(ax) * r[1] - std::sin(ax) * r[2];
  r[2] = std::sin(ax) * r[1] + std::cos(ax) * r[2], r[1] = y;
  FlagVec3 w{2, float(v[0]), float(v[1]), float(v[2])};
  const FlagVec3 returned = rotateEuler(w, ax, ay, az);
  expectVec(w, 1, float(r[0]), float(r[1]), float(r[2]));
  EXPECT_TRUE(returned.x == w.x && returned.y == w.y && returned.z == w.z);
  Matrix4d inverse, general;
  general.set(2, 0, 1, 0, 1, 3, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1);
  invertRotation(general, inverse.setIdentity());
  const double byHand[9] = {3, 1, -3, -1, 2, 1, 1, -2, 6};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(inverse[i / 3 * 4 + i % 3], byHand[i] / 7.0, 1e-15);
  EXPECT_NEAR(inverse[15], 1.0 / 7.0, 1e-15);  // the whole of it is scaled
  for (int k : {0, 1, 2, 4, 5, 6, 8, 9, 10}) general[k] = 0;
  invertRotation(general, general);  // in place, and the identity for a singular block
  for (int k = 0; k < 16; ++k) EXPECT_EQ(general[k], k % 5 == 0 ? 1.0 : 0.0) << k;
}

double at(const RippleField& f, int buffer, int x, int y) { return f.heights[buffer][size_t(y) * f.width + size_t(x)]; }
int nonZero(const std::vector<double>& h) {
  return int(std::count_if(h.begin(), h.end(), [](double v) { return v; }));
}

// Stamps of sizes 1 to 4 cover 1, 5, 13 and 25 cells, assigned (not added),
// clipped to the grid; other sizes do nothing. Waves spread one cell a step
// with inverted sign, damped, never into the border.
TEST(RippleField, DropsStampAndWavesSpreadOneCellAStepDamped) {
  RippleField f(0.03, 32, 32);
  for (auto [size, cells] : {std::pair{1, 1}, {2, 5}, {3, 13}, {4, 25}}) {
    f.heights[0].assign(32 * 32, 0.0), f.drop(16, 16, size, 2.0);
    EXPECT_TRUE(nonZero(f.heights[0]) == cells && at(f, 0, 16, 16) == 2.0) << size;
  }
  EXPECT_EQ(at(f, 0, 17, 17), 1.3);  // a diagonal of the largest stamp
  f.drop(16, 16, 1, -1.0);
  EXPECT_EQ(at(f, 0, 16, 16), -1.0);
  for (int size : {0, 5, -1}) f.drop(2, 2, size, 1.0);
  EXPECT_EQ(nonZero(f.heights[1]) + at(f, 0, 2, 2), 0);
  RippleField edge(0.03, 16, 16);
  edge.drop(0, 0, 4, 1.0);
  edge.drop(-2, 5, 4, 1.0);  // the centre outside, its right arm inside
  EXPECT_EQ(nonZero(edge.heights[0]), 10 + 4);
  EXPECT_EQ(at(edge, 0, 1, 5), at(edge, 0, 3, 0));
  RippleField w(0.03, 128, 128), damped(0.03, 128, 128);
  w.drop(64, 64, 1, 1.0);
  damped.drop(64, 64, 1, 1.0);
  w.step(1.0);
  damped.step(0.95);
  EXPECT_EQ(w.current, 1);
  EXPECT_EQ(at(w, 0, 64, 64), -1.0);  // the drop was in the destination: back inverted
  EXPECT_EQ(at(damped, 0, 64, 64), -0.95);
  w.step(1.0);
  for (auto [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) EXPECT_EQ(at(w, 1, 64 + dx, 64 + dy), -0.5);
  EXPECT_EQ(nonZero(w.heights[1]), 4);
  for (int k = 0; k < 10; ++k) w.step(1.0);
  EXPECT_NE(at(w, 1, 64 + 11, 64), 0.0);  // k - 1 cells out after step k
  EXPECT_EQ(at(w, 1, 64 + 12, 64), 0.0);
  EXPECT_EQ(at(w, 1, 64 + 6, 64 + 6), 0.0);
  EXPECT_NE(at(w, 1, 64 + 6, 64 + 5), 0.0);
  RippleField border(0.03, 8, 8);
  border.drop(1, 1, 2, 1.0);
  for (int k = 0; k < 3; ++k) border.step(1.0);
  for (int k = 0; k < 8; ++k) EXPECT_EQ(at(border, 1, k, 0) + at(border, 1, 7, k), 0.0);  // never written
}

TEST(RippleField, TheNormalMapLeansAgainstTheSlopeInsideATwoCellBorder) {
  RippleField f(0.03, 16, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) f.heights[0][size_t(y * 16 + x)] = 0.125 * x;  // rising with x
  std::fill(f.heights[1].begin(), f.heights[1].end(), 7.0);                     // not read
  f.normalMap(1.0);
  const uint8_t lean = uint8_t(int((1.0 - 1.0 / std::sqrt(2.0)) * 0.5 * 255.0)),
                up = uint8_t(int((1.0 + 1.0 / std::sqrt(2.0)) * 0.5 * 255.0));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool inner = x >= 2 && x <= 13 && y >= 2 && y <= 9;
      const uint8_t* t = &f.normalBytes[size_t(y * 16 + x) * 3];
      EXPECT_EQ(std::vector<int>(t, t + 3), (inner ? std::vector<int>{lean, 127, up} : std::vector<int>{0, 0, 0}))
          << x << ", " << y;
    }
  std::fill(f.heights[0].begin(), f.heights[0].end(), 3.25);
  f.normalMap(0.0);  // no z component at all stays defined
  EXPECT_EQ(std::vector<int>(&f.normalBytes[(4 * 16 + 4) * 3], &f.normalBytes[(4 * 16 + 4) * 3 + 3]),
            (std::vector<int>{127, 127, 127}));
}
}  // namespace
