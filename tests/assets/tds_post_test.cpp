// What the loader makes of a mesh after reading it: keyframes expanded to
// one sample a frame, normals split by smoothing word.
#include <gtest/gtest.h>

#include <cmath>

#include "assets/mesh_normals.h"
#include "assets/tds_loader.h"
#include "tds_file_builder.h"

namespace {
using namespace tds_test;

void positionTrack(ChunkWriter& w, int frames, const std::vector<std::pair<int, std::array<float, 3>>>& keys) {
  w.begin(0xB020).u16(0).u32(0).u32(std::uint32_t(frames)).u32(std::uint32_t(keys.size()));
  for (const auto& [frame, v] : keys) w.u32(std::uint32_t(frame)).u16(0).f32(v[0]).f32(v[1]).f32(v[2]);
  w.end();
}

// Keys as (frame, angle, axis x, y, z), the file's order; every key after
// the first carries tension and bias terms that must be skipped.
void rotationTrack(ChunkWriter& w, const std::vector<std::pair<int, std::array<float, 4>>>& keys) {
  w.begin(0xB021).u16(0).u32(0).u32(0).u32(std::uint32_t(keys.size()));
  for (size_t k = 0; k < keys.size(); ++k) {
    w.u32(std::uint32_t(keys[k].first)).u16(k ? 0x05 : 0);
    if (k) w.f32(0.5f).f32(0.25f);
    for (float v : keys[k].second) w.f32(v);
  }
  w.end();
}

void load(Scene3ds& scene, const Bytes& bytes) { EXPECT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size())); }

// Positions interpolate over each span and hold the last key; the pivot is
// negated and scaled by the matrix axes; rotation angles accumulate and keep
// rising over the last span; sampling interpolates between frames and loops.
TEST(Keyframes, ExpandToOneSampleAFrameAndAreSampledInALoop) {
  TestMesh mesh = cube("box");
  mesh.matrix = {2, 0, 0, 0, 2, 0, 0, 0, 2, 0, 0, 0};
  Scene3ds scene;
  load(scene, writeScene({}, {mesh}, [](ChunkWriter& w) {
         w.begin(0xB000).begin(0xB002);
         w.begin(0xB010).str("box").u16(0).u16(0).u16(0xFFFF).end();
         w.begin(0xB013).f32(1).f32(2).f32(3).end();
         positionTrack(w, 10, {{0, {0, 0, 0}}, {4, {4, 8, 0}}});
         rotationTrack(w, {{0, {0.5f, 0, 0, 1}}, {5, {1.0f, 0, 0, 1}}});
         w.end().end();
       }));
  ASSERT_EQ(scene.keyframes.size(), 1u);
  const KeyframeNode& n = scene.keyframes[0];
  EXPECT_EQ(scene.frameCount, 10);
  ASSERT_EQ(n.positions.size(), 30u);
  EXPECT_EQ(std::vector<float>(&n.positions[6], &n.positions[8]), (std::vector<float>{2, 4}));
  for (int f = 4; f < 10; ++f) EXPECT_FLOAT_EQ(n.positions[std::size_t(f) * 3 + 1], 8.0f) << f;
  EXPECT_EQ(std::vector<float>(scene.keyframeOffset(0), scene.keyframeOffset(0) + 3), (std::vector<float>{-2, -4, -6}));
  EXPECT_FLOAT_EQ(n.initialRotation[2], 1.0f);
  EXPECT_FLOAT_EQ(n.initialRotation[3], 0.5f);
  ASSERT_EQ(n.rotations.size(), 40u);
  EXPECT_FLOAT_EQ(n.rotations[1 * 4 + 2], 0.2f);  // the axis too, from zero
  for (auto [f, angle] : {std::pair{0, 0.0f}, {1, 0.2f}, {5, 1.0f}, {7, 1.4f}, {9, 1.8f}})
    EXPECT_FLOAT_EQ(n.rotations[std::size_t(f) * 4 + 3], angle) << f;
  EXPECT_TRUE(n.rotationKeys.empty() && n.positionKeys.empty());
  for (auto [at, x, y] : {std::tuple{0.25, 2.5f, 5.0f},
                          {0.95, 2.0f, 4.0f},
                          {1.0, 0.0f, 0.0f},
                          {-0.75, 2.5f, 5.0f},
                          {-0.05, 2.0f, 4.0f}}) {  // frame 2.5; halfway from 9 back to 0; wrapped
    EXPECT_FLOAT_EQ(scene.keyframePosition(0, at)[0], x) << at;
    EXPECT_FLOAT_EQ(scene.keyframePosition(0, at)[1], y) << at;
  }
  EXPECT_FLOAT_EQ(scene.keyframeRotation(0, 0.95)[3], 0.9f);
  EXPECT_EQ(scene.keyframePosition(5, 0.5)[0], 0.0f);  // a node the file lacks samples as rest
  EXPECT_EQ(scene.keyframeInitialRotation(-1)[3], 0.0f);
}

// Keys going back in frames are dropped; a second key at the same frame
// fills no frame but adds its angle and starts the next span; no keyframe
// data is one frame at rest.
TEST(Keyframes, BackwardKeysAreDroppedAndKeysAtTheSameFrameStay) {
  Scene3ds scene;
  load(scene, writeScene({}, {cube("box")}, [](ChunkWriter& w) {
         w.begin(0xB000).begin(0xB002);
         positionTrack(w, 10, {{0, {0, 0, 0}}, {5, {5, 0, 0}}, {3, {100, 0, 0}}, {4, {100, 0, 0}}, {8, {8, 0, 0}}});
         w.end().end();
       }));
  for (int f = 0; f < 10; ++f) EXPECT_FLOAT_EQ(scene.keyframes[0].positions[f * 3], float(std::min(f, 8))) << f;
  load(scene, writeScene({}, {cube("box")}, [](ChunkWriter& w) {
         w.begin(0xB000).begin(0xB002);
         positionTrack(w, 10, {{0, {0, 0, 0}}, {4, {4, 0, 0}}, {4, {40, 0, 0}}, {8, {80, 0, 0}}});
         rotationTrack(w, {{0, {0.5f, 0, 0, 1}}, {4, {1.0f, 0, 0, 1}}, {4, {0.5f, 0, 0, 1}}, {8, {1.0f, 0, 0, 1}}});
         w.end().end();
       }));
  const float angles[10] = {0, 0.25f, 0.5f, 0.75f, 1.5f, 1.75f, 2.0f, 2.25f, 2.5f, 3.0f};
  const float xs[10] = {0, 1, 2, 3, 40, 50, 60, 70, 80, 80};
  for (int f = 0; f < 10; ++f) {
    EXPECT_FLOAT_EQ(scene.keyframes[0].rotations[f * 4 + 3], angles[f]) << f;
    EXPECT_FLOAT_EQ(scene.keyframes[0].positions[f * 3], xs[f]) << f;
  }
  load(scene, writeScene({}, {cube("box")}, [](ChunkWriter& w) {
         w.begin(0xB000).begin(0xB002).begin(0xB010).str("box").end().end().end();
       }));
  EXPECT_EQ(scene.frameCount, 0);
  EXPECT_EQ(scene.keyframes.at(0).positions.size(), 3u);
  EXPECT_EQ(scene.keyframePosition(0, 0.7)[0], 0.0f);
}

MeshObject loadedCube(const std::vector<std::uint32_t>& smoothing) {
  TestMesh m = cube("box");
  m.smoothing = smoothing;
  Scene3ds scene;
  load(scene, writeScene({}, {m}));
  return *scene.object(0);
}

// Six smoothing words: every corner carries its side's outward unit axis,
// split copies keeping their positions. One word: 8 corners with averaged
// outward normals and zero (not NaN) tangents, unmapped.
TEST(MeshNormals, SmoothingWordsSplitCornersAndNormalsFollowThem) {
  const MeshObject flat = loadedCube({1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32});
  ASSERT_EQ(flat.vertexCount(), 24);
  EXPECT_NEAR(flat.faceRecords[0].normal[2], -1.0f, 1e-6);  // the -z side first
  for (int f = 0; f < flat.faceCount(); ++f) {
    const float* fn = flat.faceRecords[std::size_t(f)].normal;
    EXPECT_NEAR(std::fabs(fn[0]) + std::fabs(fn[1]) + std::fabs(fn[2]), 1.0f, 1e-6);
    for (int c = 0; c < 3; ++c) {
      const float *n = flat.normal(flat.face(f)[c]), *p = flat.vertex(flat.face(f)[c]);
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(n[k], fn[k], 1e-6) << f;
      EXPECT_NEAR((p[0] - 0.5f) * fn[0] + (p[1] - 0.5f) * fn[1] + (p[2] - 0.5f) * fn[2], 0.5f, 1e-6) << f;
    }
  }
  const MeshObject smooth = loadedCube(std::vector<std::uint32_t>(12, 1));
  ASSERT_EQ(smooth.vertexCount(), 8);
  for (int v = 0; v < 8; ++v) {
    const float *p = smooth.vertex(v), *n = smooth.normal(v);
    EXPECT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-6);
    for (int k = 0; k < 3; ++k) EXPECT_GT((p[k] - 0.5f) * n[k], 0.3f * 0.5f) << v;
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(smooth.tangent(v)[k] == 0.0f && smooth.binormal(v)[k] == 0.0f);
  }
}

// The copies of a split go at the end, in the order words are first met;
// an object that would pass 65536 vertices stays unsplit.
TEST(MeshNormals, SplitCopiesGoAtTheEndAndNothingSplitsPastSixtyFourK) {
  MeshObject o;
  o.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
  FaceRecord a, b;
  a.a = 0, a.b = 1, a.c = 2, a.smoothing = 5;
  b.a = 1, b.b = 3, b.c = 2, b.smoothing = 9;
  o.faceRecords = {a, b};
  computeNormals(o, true);
  ASSERT_EQ(o.vertexCount(), 6);
  EXPECT_EQ(o.faces, (std::vector<uint16_t>{0, 1, 2, 4, 3, 5}));
  EXPECT_TRUE(o.vertex(4)[0] == 1.0f && o.vertex(5)[1] == 1.0f);  // copies of vertices 1 and 2
  MeshObject fans;  // 200 fans of 200 faces, every face its own word: 40200 vertices, 120000 split
  for (int c = 0; c < 200; ++c) {
    const uint16_t centre = uint16_t(fans.vertices.size() / 3);
    fans.vertices.insert(fans.vertices.end(), {float(c), 0, 0});
    for (int k = 0; k <= 200; ++k)
      fans.vertices.insert(fans.vertices.end(), {float(c), std::cos(k * 0.01f), std::sin(k * 0.01f)});
    for (int k = 0; k < 200; ++k) {
      FaceRecord f;
      f.a = centre, f.b = uint16_t(centre + 1 + k), f.c = uint16_t(centre + 2 + k), f.smoothing = uint32_t(k);
      fans.faceRecords.push_back(f);
    }
  }
  const int before = fans.vertexCount();
  computeNormals(fans, true);
  EXPECT_EQ(fans.vertexCount(), before);
  EXPECT_EQ(fans.faceCount(), 40000);
  for (int v = 0; v < fans.vertexCount(); ++v) ASSERT_TRUE(std::isfinite(fans.normal(v)[0]));
}

}  // namespace
