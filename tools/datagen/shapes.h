#pragma once
// Signed-distance helpers for the silhouettes the outline pictures trace.
#include <algorithm>
#include <cmath>

namespace datagen::shape {

inline double ellipse(double x, double y, double cx, double cy, double rx, double ry, double rot = 0) {
  const double c = std::cos(rot), s = std::sin(rot);
  const double dx = x - cx, dy = y - cy;
  const double u = (c * dx + s * dy) / rx, v = (-s * dx + c * dy) / ry;
  return (std::sqrt(u * u + v * v) - 1.0) * std::min(rx, ry);
}

// Capsule from a (radius ra) to b (radius rb), negative inside.
inline double taper(double x, double y, double ax, double ay, double ra, double bx, double by, double rb) {
  const double dx = bx - ax, dy = by - ay;
  const double l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? ((x - ax) * dx + (y - ay) * dy) / l2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double px = ax + t * dx - x, py = ay + t * dy - y;
  return std::sqrt(px * px + py * py) - (ra + (rb - ra) * t);
}

inline double box(double x, double y, double x0, double y0, double x1, double y1) {
  const double dx = std::max(x0 - x, x - x1), dy = std::max(y0 - y, y - y1);
  return std::max(dx, dy);
}

inline double unite(double a, double b) { return std::min(a, b); }
inline double subtract(double a, double b) { return std::max(a, -b); }

}  // namespace datagen::shape
