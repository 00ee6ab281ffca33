#pragma once
// Surface builders shared by the scenes: swept tubes, ellipsoids, grids.
#include <cmath>
#include <functional>

#include "meshes.h"

namespace datagen::mesh {

struct Vec {
  double x = 0, y = 0, z = 0;
};
inline Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec operator*(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
inline Vec unit(Vec a) { return a * (1.0 / std::sqrt(dot(a, a))); }
inline Vec lerp(Vec a, Vec b, double t) { return a + (b - a) * t; }

// A surface swept along a spine: rings of `segments` vertices (plus a seam
// copy for the texture) at `rings` steps, closed by a pole at each end.
struct Tube {
  std::function<Vec(double t)> spine;  // t in 0..1
  std::function<double(double t, double phi)> radius;
  Vec reference{1, 0, 0};  // where phi = 0 points (kept by parallel transport)
  int rings = 24, segments = 20;
  std::uint32_t smoothing = 1;
  std::uint32_t capSmoothing = 0;  // non-zero: flat cut ends in their own group
  int material = 0;
  double vRepeat = 1.0;
};
void addTube(MeshObject& o, const Tube& tube);

// Rounded profile: 0 at both ends, 1 in the middle, ends shaped like a
// quarter circle over `end` of the length.
double rounded(double t, double end);

// Catmull-Rom through points, t in 0..1 over the whole chain.
Vec spline(const std::vector<Vec>& pts, double t);

void addEllipsoid(MeshObject& o, Vec centre, Vec radii, int rings, int segments, std::uint32_t smoothing, int material,
                  const std::function<double(Vec dir)>& bump = nullptr);

// Regular grid over x, y in [-half, half], height z = height(x, y).
void addGrid(MeshObject& o, int cells, double half, const std::function<double(double, double)>& height,
             double uvRepeat, std::uint32_t smoothing, int material);

}  // namespace datagen::mesh
