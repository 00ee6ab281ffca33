#include "geometry/point_drift.h"

#include <algorithm>
#include <cmath>

namespace {
// The lower band's weight is kept in single precision, as the points are.
float lowerWeight(double y) { return float(std::min(std::max(0.0, -3.0 - y) * 1.7, 1.0) * 0.7); }
}  // namespace

void driftPointB(FlagVec3& p, const double& a, const double& b, const double& c) {
  const double x = p.x, y = p.y;
  double z = p.z;
  if (y > -1.0) {
    const double w1 = std::min(std::max(0.0, 3.0 - y) * 1.7, 1.0);
    if (x > 2.3) z += w1 * a;
    if (x < -2.3) z += w1 * b;
  }
  if (y < -3.0) {
    const double w3 = lowerWeight(y);
    if (x > 0.3) z += w3 * b * c;
    if (x < -0.3) z += w3 * c;
  }
  p.z = float(z);
}

void driftPointA(FlagVec3& p, const double& a, const double& b, const double& c) {
  const double x = p.x, y = p.y;
  double z = p.z;
  if (y > -1.0) {
    const double w = std::min(std::max(0.0, 3.0 - y) * 1.7, 1.0);
    const double k = std::min(std::abs(x - 1.3), 1.0);
    if (x > 0.1) z += w * a * k;
    if (x < -0.1) z += w * b * k;
  }
  if (y < -3.0) {
    const double w2 = lowerWeight(y);
    const double k2 = std::min(std::abs(x), 1.0);
    if (x > 0.0) z += w2 * b * c * k2;
    if (x < 0.0) z += w2 * c * k2;
  }
  p.z = float(z);
}
