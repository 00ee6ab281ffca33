#include "geometry/mesh_sampling.h"

#include <gtest/gtest.h>

#include <cmath>

#include "assets/mesh_normals.h"
#include "assets/tds_loader.h"
#include "math/random.h"

namespace {

// One triangle per object, with normals and tangents as the loader makes them.
MeshObject triangle(std::array<float, 9> corners) {
  MeshObject o;
  o.vertices.assign(corners.begin(), corners.end());
  o.texCoords = {0, 0, 1, 0, 0, 1};
  FaceRecord f;
  f.a = 0, f.b = 1, f.c = 2;
  o.faceRecords = {f};
  computeNormals(o, true);
  computeTangents(o);
  return o;
}

FlagVec3 apply(const Matrix4d& m, float x, float y, float z) {
  FlagVec3 out;
  transformPoint(m, FlagVec3{1, x, y, z}, out);
  return out;
}

void expectNear(const FlagVec3& v, float x, float y, float z) {
  EXPECT_TRUE(std::fabs(v.x - x) < 1e-5 && std::fabs(v.y - y) < 1e-5 && std::fabs(v.z - z) < 1e-5)
      << v.x << " " << v.y << " " << v.z << " for " << x << " " << y << " " << z;
}

class MeshSampling : public ::testing::Test {
 protected:
  void SetUp() override {
    scene.objects.push_back(triangle({0, 0, 0, 1, 0, 0, 0, 2, 0}));  // area 1
    scene.objects.push_back(triangle({0, 0, 5, 3, 0, 5, 0, 2, 5}));  // area 3
    KeyframeNode node;
    node.positions = {1, 2, 3};
    node.rotations = {0, 0, 0, 0};
    scene.keyframes.push_back(node);
  }
  Scene3ds scene;
  MeshDrawState state;
};

TEST_F(MeshSampling, ObjectMatrixComposesLikeTheGlStack) {
  state.translate = {1, 10, 0, 0};
  state.angle = 90;
  state.axis = {1, 0, 0, 1};
  state.scale = {1, 2, 7, 7};  // uniform from x
  Matrix4d m;
  objectMatrix(scene, state, 0, 0.0, m);
  // scale 2, keyframe (1, 2, 3), quarter turn about z, then (10, 0, 0).
  expectNear(apply(m, 1, 0, 0), 8, 3, 3);
  expectNear(apply(m, 0, 0, 1), 8, 1, 5);
}

TEST_F(MeshSampling, KeyframeRotationFixedRotationAndPivotFollowTheKeyframePosition) {
  KeyframeNode& node = scene.keyframes[0];
  node.rotations = {0, 0, 1, float(M_PI / 2)};
  node.initialRotation[0] = 1;
  node.initialRotation[3] = float(M_PI);
  node.pivotOffset[0] = -1;
  Matrix4d m;
  objectMatrix(scene, state, 0, 0.5, m);
  // (1, 0, 0) + pivot -> (0, 0, 0): only the keyframe position remains.
  expectNear(apply(m, 1, 0, 0), 1, 2, 3);
  // (1, 1, 0) -> (0, 1, 0) -> half turn about x (0, -1, 0) -> quarter about z (1, 0, 0).
  expectNear(apply(m, 1, 1, 0), 2, 2, 3);
  // Object 1 has no node: only the global placement, here none.
  objectMatrix(scene, state, 1, 0.5, m);
  expectNear(apply(m, 4, 5, 6), 4, 5, 6);
}

TEST_F(MeshSampling, SamplesAreAreaWeightedOnTheFacesAndReproducible) {
  scene.keyframes.clear();
  const int n = 4000;
  std::vector<FlagVec3> p(n), normal(n), crossed(n), tangent(n);
  seedRandom(7);
  sampleSurface(scene, state, n, 0.0, p.data(), normal.data(), crossed.data(), tangent.data());
  int onBig = 0;
  for (int k = 0; k < n; ++k) {
    const bool big = p[k].z > 2.5f;
    onBig += big;
    const float s = big ? 3.0f : 1.0f;
    // Inside the triangle (0,0) (s,0) (0,2) of its plane.
    EXPECT_GE(p[k].x, -1e-5f);
    EXPECT_GE(p[k].y, -1e-5f);
    EXPECT_LE(p[k].x / s + p[k].y / 2, 1.0f + 1e-5f);
    expectNear(normal[k], 0, 0, 1);
    expectNear(tangent[k], 1, 0, 0);
    expectNear(crossed[k], 0, -1, 0);
  }
  EXPECT_NEAR(onBig / double(n), 0.75, 0.03);
  // The first samples where the draws put them, worked out by hand: a face by
  // area from one draw, then two for the place on it (folded into the triangle).
  expectNear(p[0], 0.531693459f, 0.928678215f, 0);
  expectNear(p[1], 0.473677784f, 0.397717208f, 0);
  expectNear(p[2], 1.92019415f, 0.307626575f, 5);

  std::vector<FlagVec3> again(n), scratch(n);
  seedRandom(7);
  sampleSurface(scene, state, n, 0.0, again.data(), scratch.data(), scratch.data(), scratch.data());
  for (int k = 0; k < n; ++k) EXPECT_EQ(again[k].x, p[k].x);
}

}  // namespace
