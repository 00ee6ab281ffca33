#include "geometry/curve_paths.h"

#include <cmath>

#include "math/random.h"

namespace {
constexpr double kHundredthOfTurn = 0.06283185307179587;
constexpr uint32_t kCurveSeed = 31000;
constexpr int kDiscardedRandoms = 1000;

void appendPoint(SplinePath& path, const FlagVec3& p) {
  path.points.push_back(p);
  path.count += 1;
}
}  // namespace

void growPath(SplinePath& path, const FlagVec3* cloud, int32_t count, int32_t steps, const PathGrowth& growth) {
  if (count <= 0) return;  // nothing to walk on
  FlagVec3 current = growth.start;
  for (int32_t k = 0; k < steps; ++k) {
    const double angle = growth.phase + k * growth.rate * kHundredthOfTurn;
    const FlagVec3 direction{1, float(growth.reach), float(0.4 * std::sin(angle)), float(0.4 * std::cos(angle))};
    const FlagVec3 aim = current + direction * growth.scale;
    double bestDistance = 100000.0;
    int32_t best = 0;
    for (int32_t j = 0; j < count; ++j) {
      const double dx = double(aim.x) - cloud[j].x;
      const double dy = double(aim.y) - cloud[j].y;
      const double dz = double(aim.z) - cloud[j].z;
      const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
      if (distance < bestDistance) {
        bestDistance = distance;
        best = j;
      }
    }
    current = cloud[best];
    appendPoint(path, cloud[best] * 1.05f);
  }
}

void growCurvePaths(std::array<SplinePath, 200>& paths, const FlagVec3* surfacePoints, int32_t surfaceCount) {
  seedRandom(kCurveSeed);
  for (int i = 0; i < kDiscardedRandoms; ++i) random01();
  if (surfaceCount <= 0) {  // nothing to grow on: no streams rather than a read past the path
    for (SplinePath& path : paths) path = SplinePath{};
    return;
  }

  for (size_t i = 0; i < paths.size(); ++i) {
    SplinePath& path = paths[i];
    path = SplinePath{};
    const float side = 1.6f - 3.2f * float(i % 2);
    const double a = random01() * 3.0 - 1.5;
    const double b = random01() * 17.0 - 10.0;
    const double c = random01() * 12.0 - 6.0;
    growPath(path, surfacePoints, surfaceCount, 50,
             PathGrowth{FlagVec3{1, float(c), float(b), float(a)}, side, 0.2, 2.0, 0.9});
    // Three long strides up out of the scene, each closer to the axis.
    const FlagVec3 top = path.points[49];
    appendPoint(path, top + FlagVec3{1, 0.0f, 0.0f, 2.0f});
    appendPoint(path, top * 0.3f + FlagVec3{1, 0.0f, 0.0f, 16.0f});
    appendPoint(path, top * 0.03f + FlagVec3{1, 0.0f, 0.0f, 33.0f});
    path.closed = false;
    path.resampleByArcLength(20, 2);
    path.computeClosedCubics();
  }
}
