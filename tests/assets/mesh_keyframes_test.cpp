#include <gtest/gtest.h>

#include "assets/tds_loader.h"
#include "tds_file_builder.h"

namespace {

using namespace tds_test;

void positionTrack(ChunkWriter& w, int frames, const std::vector<std::pair<int, std::array<float, 3>>>& keys) {
  w.begin(0xB020).u16(0).u32(0).u32(std::uint32_t(frames)).u32(std::uint32_t(keys.size()));
  for (const auto& [frame, v] : keys) w.u32(std::uint32_t(frame)).u16(0).f32(v[0]).f32(v[1]).f32(v[2]);
  w.end();
}

// Keys as (frame, angle, axis x, y, z), the file's order; the second key
// carries tension and bias terms that must be skipped.
void rotationTrack(ChunkWriter& w, const std::vector<std::pair<int, std::array<float, 4>>>& keys) {
  w.begin(0xB021).u16(0).u32(0).u32(0).u32(std::uint32_t(keys.size()));
  bool spline = false;
  for (const auto& [frame, v] : keys) {
    w.u32(std::uint32_t(frame)).u16(spline ? 0x05 : 0);
    if (spline) w.f32(0.5f).f32(0.25f);
    w.f32(v[0]).f32(v[1]).f32(v[2]).f32(v[3]);
    spline = true;
  }
  w.end();
}

class Keyframes : public ::testing::Test {
 protected:
  void SetUp() override {
    TestMesh mesh = cube("box");
    mesh.matrix = {2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0};
    const Bytes bytes = writeScene({}, {mesh}, [](ChunkWriter& w) {
      w.begin(0xB000).begin(0xB002);
      w.begin(0xB010).str("box").u16(0).u16(0).u16(0xFFFF).end();
      w.begin(0xB013).f32(1).f32(2).f32(3).end();
      positionTrack(w, 10, {{0, {0, 0, 0}}, {4, {4, 8, 0}}});
      rotationTrack(w, {{0, {0.5f, 0, 0, 1}}, {5, {1.0f, 0, 0, 1}}});
      w.end().end();
    });
    ASSERT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size()));
    ASSERT_EQ(scene.keyframes.size(), 1u);
  }
  Scene3ds scene;
};

TEST_F(Keyframes, PositionsInterpolateOverEachSpanAndHoldTheLastKeyAndThePivotIsNegated) {
  EXPECT_EQ(scene.frameCount, 10);
  const std::vector<float>& p = scene.keyframes[0].positions;
  ASSERT_EQ(p.size(), 30u);
  EXPECT_FLOAT_EQ(p[2 * 3 + 0], 2.0f);
  EXPECT_FLOAT_EQ(p[2 * 3 + 1], 4.0f);
  for (int f = 4; f < 10; ++f) EXPECT_FLOAT_EQ(p[std::size_t(f) * 3 + 1], 8.0f) << f;
  // The pivot is negated and scaled by the matrix axes.
  const float* offset = scene.keyframeOffset(0);
  EXPECT_FLOAT_EQ(offset[0], -2.0f);
  EXPECT_FLOAT_EQ(offset[1], -4.0f);
  EXPECT_FLOAT_EQ(offset[2], -6.0f);
}

TEST_F(Keyframes, RotationAnglesAccumulateAndKeepRisingOverTheLastSpan) {
  const KeyframeNode& n = scene.keyframes[0];
  EXPECT_FLOAT_EQ(n.initialRotation[2], 1.0f);
  EXPECT_FLOAT_EQ(n.initialRotation[3], 0.5f);
  ASSERT_EQ(n.rotations.size(), 40u);
  const auto angle = [&](int f) { return n.rotations[std::size_t(f) * 4 + 3]; };
  EXPECT_FLOAT_EQ(angle(0), 0.0f);
  EXPECT_FLOAT_EQ(angle(1), 0.2f);                // toward key 1's angle over 5 frames
  EXPECT_FLOAT_EQ(n.rotations[1 * 4 + 2], 0.2f);  // the axis too, from zero
  EXPECT_FLOAT_EQ(angle(5), 1.0f);                // the sum so far
  EXPECT_FLOAT_EQ(angle(7), 1.4f);                // rising by key 1's own angle again
  EXPECT_FLOAT_EQ(angle(9), 1.8f);
  EXPECT_TRUE(n.rotationKeys.empty());
  EXPECT_TRUE(n.positionKeys.empty());
}

TEST_F(Keyframes, SamplingInterpolatesBetweenFramesAndLoopsAtOne) {
  const float* p = scene.keyframePosition(0, 0.25);  // frame 2.5
  EXPECT_FLOAT_EQ(p[0], 2.5f);
  EXPECT_FLOAT_EQ(p[1], 5.0f);
  p = scene.keyframePosition(0, 0.95);  // halfway from frame 9 back to frame 0
  EXPECT_FLOAT_EQ(p[0], 2.0f);
  EXPECT_FLOAT_EQ(p[1], 4.0f);
  p = scene.keyframePosition(0, 1.0);
  EXPECT_FLOAT_EQ(p[1], 0.0f);
  p = scene.keyframePosition(0, -0.75);  // wraps like 0.25
  EXPECT_FLOAT_EQ(p[0], 2.5f);
  p = scene.keyframePosition(0, -0.05);  // like 0.95
  EXPECT_FLOAT_EQ(p[0], 2.0f);
  const float* r = scene.keyframeRotation(0, 0.95);
  EXPECT_FLOAT_EQ(r[2], 0.5f);
  EXPECT_FLOAT_EQ(r[3], 0.9f);
  // A node the file does not have samples as rest.
  p = scene.keyframePosition(5, 0.5);
  EXPECT_EQ(p[0], 0.0f);
  EXPECT_EQ(scene.keyframeInitialRotation(-1)[3], 0.0f);
}

TEST(KeyframeSampling, NoKeyframeDataMeansOneFrame) {
  const Bytes bytes = writeScene({}, {cube("box")}, [](ChunkWriter& w) {
    w.begin(0xB000).begin(0xB002).begin(0xB010).str("box").end().end().end();
  });
  Scene3ds scene;
  ASSERT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size()));
  EXPECT_EQ(scene.frameCount, 0);
  ASSERT_EQ(scene.keyframes.size(), 1u);
  EXPECT_EQ(scene.keyframes[0].positions.size(), 3u);
  EXPECT_EQ(scene.keyframePosition(0, 0.7)[0], 0.0f);
}

TEST(KeyframeSampling, KeysGoingBackInFramesAreDropped) {
  const Bytes bytes = writeScene({}, {cube("box")}, [](ChunkWriter& w) {
    w.begin(0xB000).begin(0xB002);
    positionTrack(w, 10, {{0, {0, 0, 0}}, {5, {5, 0, 0}}, {3, {100, 0, 0}}, {4, {100, 0, 0}}, {8, {8, 0, 0}}});
    w.end().end();
  });
  Scene3ds scene;
  ASSERT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size()));
  const std::vector<float>& p = scene.keyframes[0].positions;
  for (int f = 0; f < 10; ++f) EXPECT_FLOAT_EQ(p[std::size_t(f) * 3], float(f < 8 ? f : 8)) << f;
}

// Keys at frames 0, 4, 4, 8: the second key at frame 4 fills no frame, but
// its angle adds to the sum and the next span starts from it.
TEST(KeyframeSampling, KeysAtTheSameFrameStay) {
  const Bytes bytes = writeScene({}, {cube("box")}, [](ChunkWriter& w) {
    w.begin(0xB000).begin(0xB002);
    positionTrack(w, 10, {{0, {0, 0, 0}}, {4, {4, 0, 0}}, {4, {40, 0, 0}}, {8, {80, 0, 0}}});
    rotationTrack(w, {{0, {0.5f, 0, 0, 1}}, {4, {1.0f, 0, 0, 1}}, {4, {0.5f, 0, 0, 1}}, {8, {1.0f, 0, 0, 1}}});
    w.end().end();
  });
  Scene3ds scene;
  ASSERT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size()));
  const KeyframeNode& n = scene.keyframes[0];
  const float angles[10] = {0, 0.25f, 0.5f, 0.75f, 1.5f, 1.75f, 2.0f, 2.25f, 2.5f, 3.0f};
  for (int f = 0; f < 10; ++f) EXPECT_FLOAT_EQ(n.rotations[std::size_t(f) * 4 + 3], angles[f]) << f;
  const float xs[10] = {0, 1, 2, 3, 40, 50, 60, 70, 80, 80};
  for (int f = 0; f < 10; ++f) EXPECT_FLOAT_EQ(n.positions[std::size_t(f) * 3], xs[f]) << f;
}

}  // namespace
