#include "assets/mesh_normals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "assets/tds_loader.h"
#include "tds_file_builder.h"

namespace {

using namespace tds_test;

MeshObject loadedCube(const std::vector<std::uint32_t>& smoothing) {
  TestMesh m = cube("box");
  m.smoothing = smoothing;
  const Bytes bytes = writeScene({}, {m});
  Scene3ds scene;
  EXPECT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size()));
  return *scene.object(0);
}

float length(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

TEST(MeshNormals, CubeWithSixSmoothingGroupsGetsFlatNormals) {
  const MeshObject o = loadedCube({1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32});
  ASSERT_EQ(o.vertexCount(), 24);
  ASSERT_EQ(o.faceCount(), 12);
  // Each face's corners carry its own side's normal, a unit axis.
  for (int f = 0; f < o.faceCount(); ++f) {
    const float* fn = o.faceRecords[std::size_t(f)].normal;
    for (int c = 0; c < 3; ++c) {
      const float* n = o.normal(o.face(f)[c]);
      for (int k = 0; k < 3; ++k) EXPECT_NEAR(n[k], fn[k], 1e-6) << f;
    }
    EXPECT_NEAR(std::fabs(fn[0]) + std::fabs(fn[1]) + std::fabs(fn[2]), 1.0f, 1e-6);
  }
  // Outward: the -z side first.
  EXPECT_NEAR(o.faceRecords[0].normal[2], -1.0f, 1e-6);
  // Split copies carry positions along: every corner stays on its side.
  for (int f = 0; f < o.faceCount(); ++f) {
    const float* fn = o.faceRecords[std::size_t(f)].normal;
    for (int c = 0; c < 3; ++c) {
      const float* p = o.vertex(o.face(f)[c]);
      const float centred = (p[0] - 0.5f) * fn[0] + (p[1] - 0.5f) * fn[1] + (p[2] - 0.5f) * fn[2];
      EXPECT_NEAR(centred, 0.5f, 1e-6);
    }
  }
}

TEST(MeshNormals, CubeWithOneSmoothingGroupGetsAveragedNormalsAndNoTangents) {
  const MeshObject o = loadedCube(std::vector<std::uint32_t>(12, 1));
  ASSERT_EQ(o.vertexCount(), 8);
  // Corner 6 is (1, 1, 1): its normal points out along the diagonal,
  // weighted by how many of its faces lie on each side.
  const float* n = o.normal(6);
  EXPECT_NEAR(length(n), 1.0f, 1e-6);
  EXPECT_GT(n[0], 0.3f);
  EXPECT_GT(n[1], 0.3f);
  EXPECT_GT(n[2], 0.3f);
  for (int v = 0; v < 8; ++v) {
    const float* p = o.vertex(v);
    const float* nv = o.normal(v);
    for (int k = 0; k < 3; ++k) EXPECT_GT((p[k] - 0.5f) * nv[k], 0.0f) << v;
    // Unmapped: zero tangents, not NaN.
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(o.tangent(v)[k], 0.0f);
      EXPECT_EQ(o.binormal(v)[k], 0.0f);
    }
  }
}

TEST(MeshNormals, SplitFollowsTheOrderWordsAreFirstMet) {
  // Two triangles sharing an edge with different words: the shared vertices
  // are copied once each, at the end, for the second word.
  MeshObject o;
  o.vertices = {0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0};
  FaceRecord a, b;
  a.a = 0, a.b = 1, a.c = 2, a.smoothing = 5;
  b.a = 1, b.b = 3, b.c = 2, b.smoothing = 9;
  o.faceRecords = {a, b};
  computeNormals(o, true);
  ASSERT_EQ(o.vertexCount(), 6);
  EXPECT_EQ(o.faces, (std::vector<uint16_t>{0, 1, 2, 4, 3, 5}));
  EXPECT_EQ(o.vertex(4)[0], 1.0f);  // copy of vertex 1
  EXPECT_EQ(o.vertex(5)[1], 1.0f);  // copy of vertex 2
}

TEST(MeshNormals, AnObjectThatWouldPassSixtyFourKVerticesStaysUnsplit) {
  // Triangle fans whose faces all have different words: 40400 vertices
  // that splitting would turn into about 120000.
  MeshObject o;
  const int fans = 200;
  const int perFan = 200;  // faces per centre vertex
  for (int c = 0; c < fans; ++c) {
    const uint16_t centre = uint16_t(o.vertices.size() / 3);
    o.vertices.insert(o.vertices.end(), {float(c), 0, 0});
    for (int k = 0; k <= perFan; ++k)
      o.vertices.insert(o.vertices.end(), {float(c), std::cos(k * 0.01f), std::sin(k * 0.01f)});
    for (int k = 0; k < perFan; ++k) {
      FaceRecord f;
      f.a = centre, f.b = uint16_t(centre + 1 + k), f.c = uint16_t(centre + 2 + k);
      f.smoothing = uint32_t(k);
      o.faceRecords.push_back(f);
    }
  }
  const int before = o.vertexCount();
  ASSERT_LE(before, 65536);
  computeNormals(o, true);
  EXPECT_EQ(o.vertexCount(), before);
  EXPECT_EQ(o.faceCount(), fans * perFan);
  for (int v = 0; v < o.vertexCount(); ++v) EXPECT_TRUE(std::isfinite(o.normal(v)[0]));
}

TEST(MeshTangents, MappedPlaneGetsTangentAlongUAndBinormalAlongV) {
  // A quad in the x-y plane, facing +z, mapped with u along +x and v along
  // +y, at a non-unit scale.
  TestMesh m;
  m.name = "plane";
  m.vertices = {{0, 0, 0}, {4, 0, 0}, {4, 2, 0}, {0, 2, 0}};
  m.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  m.faces = {{0, 1, 2}, {0, 2, 3}};
  m.smoothing = {1, 1};
  const Bytes bytes = writeScene({}, {m});
  Scene3ds scene;
  ASSERT_TRUE(scene.loadFromMemory(bytes.data(), bytes.size()));
  const MeshObject& o = *scene.object(0);
  ASSERT_EQ(o.vertexCount(), 4);
  for (int v = 0; v < 4; ++v) {
    EXPECT_NEAR(o.normal(v)[2], 1.0f, 1e-6);
    EXPECT_NEAR(o.tangent(v)[0], 1.0f, 1e-6);
    EXPECT_NEAR(o.tangent(v)[1], 0.0f, 1e-6);
    // tangent x normal = x x z = -y
    EXPECT_NEAR(o.binormal(v)[1], -1.0f, 1e-6);
  }
  // The face record keeps the raw derivatives: dP/du = 4 along x, dP/dv = 2 along y.
  EXPECT_NEAR(o.faceRecords[0].tangent[0], 4.0f, 1e-5);
  EXPECT_NEAR(o.faceRecords[0].tangentV[1], 2.0f, 1e-5);
}

}  // namespace
