#include "geometry/mesh_sampling.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "math/random.h"

namespace {

Matrix4d multiply(const Matrix4d& a, const Matrix4d& b) {
  Matrix4d r;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += a[row * 4 + k] * b[k * 4 + col];
      r[row * 4 + col] = sum;
    }
  return r;
}

// The GL matrix calls, each multiplying the current matrix on the right.
void translate(Matrix4d& m, double x, double y, double z) {
  Matrix4d t;
  t.setIdentity();
  t[3] = x;
  t[7] = y;
  t[11] = z;
  m = multiply(m, t);
}

void rotate(Matrix4d& m, double degrees, double x, double y, double z) {
  const double length = std::sqrt(x * x + y * y + z * z);
  if (!(length > 1e-4)) return;  // no axis: no rotation, as GL implementations do
  x /= length;
  y /= length;
  z /= length;
  const double radians = degrees * std::numbers::pi / 180.0;
  const double c = std::cos(radians), s = std::sin(radians), t = 1.0 - c;
  Matrix4d r;
  r.set(x * x * t + c, x * y * t - z * s, x * z * t + y * s, 0,  //
        y * x * t + z * s, y * y * t + c, y * z * t - x * s, 0,  //
        x * z * t - y * s, y * z * t + x * s, z * z * t + c, 0,  //
        0, 0, 0, 1);
  m = multiply(m, r);
}

void scaleBy(Matrix4d& m, double x, double y, double z) {
  Matrix4d s;
  s.setIdentity();
  s[0] = x;
  s[5] = y;
  s[10] = z;
  m = multiply(m, s);
}

double radiansToDegrees(double radians) { return radians * 180 * 0.3183098861837907; }

struct FacePick {
  int object;
  int face;
};

FlagVec3 vectorAt(const std::vector<float>& array, int vertex) {
  const std::size_t i = std::size_t(vertex) * 3;
  if (i + 2 >= array.size()) return FlagVec3{1, 0, 0, 0};
  return FlagVec3{1, array[i], array[i + 1], array[i + 2]};
}

FlagVec3 blend(const FlagVec3& a, const FlagVec3& b, const FlagVec3& c, double u, double v) {
  const double w = 1.0 - u - v;
  return FlagVec3{1, float(a.x * w + b.x * u + c.x * v), float(a.y * w + b.y * u + c.y * v),
                  float(a.z * w + b.z * u + c.z * v)};
}

}  // namespace

void objectMatrix(const MeshScene& scene, const MeshDrawState& state, int object, double time, Matrix4d& result) {
  const bool placed = !state.placements.empty() && object >= 0 && std::size_t(object) < state.placements.size();
  const ObjectPlacement* own = placed ? &state.placements[std::size_t(object)] : nullptr;
  Matrix4d m;
  m.setIdentity();
  if (own) translate(m, own->translate.x, own->translate.y, own->translate.z);
  translate(m, state.translate.x, state.translate.y, state.translate.z);
  if (own) rotate(m, state.angle, own->axis.x, own->axis.y, own->axis.z);
  rotate(m, state.angle, state.axis.x, state.axis.y, state.axis.z);
  const float* position = scene.keyframePosition(object, time);
  translate(m, position[0], position[1], position[2]);
  const float* rotation = scene.keyframeRotation(object, time);
  rotate(m, radiansToDegrees(rotation[3]), rotation[0], rotation[1], rotation[2]);
  const float* fixed = scene.keyframeInitialRotation(object);
  rotate(m, radiansToDegrees(fixed[3]), fixed[0], fixed[1], fixed[2]);
  const float* pivot = scene.keyframeOffset(object);
  translate(m, pivot[0], pivot[1], pivot[2]);
  if (own) scaleBy(m, own->scale.x, own->scale.y, own->scale.z);
  scaleBy(m, state.scale.x, state.scale.x, state.scale.x);
  result = m;
}

bool faceVertices(const MeshScene& scene, int object, int face, const Matrix4d& matrix, FlagVec3& a, FlagVec3& b,
                  FlagVec3& c) {
  a = b = c = FlagVec3{};
  const MeshObject* o = scene.object(object);
  if (!o || face < 0 || face >= o->faceCount()) return false;
  const uint16_t* f = o->face(face);
  FlagVec3* out[3] = {&a, &b, &c};
  for (int k = 0; k < 3; ++k) transformPoint(matrix, vectorAt(o->vertices, f[k]), *out[k]);
  return true;
}

void sampleSurface(const MeshScene& scene, const MeshDrawState& state, int count, double time, FlagVec3* positions,
                   FlagVec3* normals, FlagVec3* crosses, FlagVec3* tangents) {
  std::vector<Matrix4d> matrices(std::size_t(scene.objectCount()));
  std::vector<double> cumulative;
  std::vector<FacePick> picks;
  double total = 0.0;
  for (int i = 0; i < scene.objectCount(); ++i) {
    objectMatrix(scene, state, i, time, matrices[std::size_t(i)]);
    const MeshObject& o = *scene.object(i);
    for (int f = 0; f < o.faceCount(); ++f) {
      FlagVec3 a, b, c;
      faceVertices(scene, i, f, matrices[std::size_t(i)], a, b, c);
      const FlagVec3 n = cross(b - a, c - a);
      double area = 0.5 * std::sqrt(double(n.x) * n.x + double(n.y) * n.y + double(n.z) * n.z);
      if (!std::isfinite(area)) area = 0.0;
      total += area;
      cumulative.push_back(total);
      picks.push_back(FacePick{i, f});
    }
  }

  for (int k = 0; k < count; ++k) {
    positions[k] = normals[k] = crosses[k] = tangents[k] = FlagVec3{};
    if (!(total > 0.0) || !std::isfinite(total)) continue;
    const double r = nextRandom() * total / 32767.0;
    // The first face whose stretch of the running total holds r.
    std::size_t at = std::size_t(std::lower_bound(cumulative.begin(), cumulative.end(), r) - cumulative.begin());
    if (at >= picks.size()) at = picks.size() - 1;
    double u = random01();
    double v = random01();
    if (v > 1.0 - u) {
      u = 1.0 - u;
      v = 1.0 - v;
    }
    const FacePick pick = picks[at];
    const MeshObject& o = *scene.object(pick.object);
    const uint16_t* f = o.face(pick.face);
    FlagVec3 a, b, c;
    faceVertices(scene, pick.object, pick.face, matrices[std::size_t(pick.object)], a, b, c);
    positions[k] = blend(a, b, c, u, v);
    normals[k] = blend(vectorAt(o.normals, f[0]), vectorAt(o.normals, f[1]), vectorAt(o.normals, f[2]), u, v);
    tangents[k] = blend(vectorAt(o.tangents, f[0]), vectorAt(o.tangents, f[1]), vectorAt(o.tangents, f[2]), u, v);
    crosses[k] = cross(tangents[k], normals[k]);
  }
}
