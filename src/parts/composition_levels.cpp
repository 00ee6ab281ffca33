#include "parts/composition_levels.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "math/ease.h"

namespace {
double bump(double x) { return std::sin(std::numbers::pi * clamp01(x)); }
}  // namespace

GreyLevel greyLevelAt(double t, const std::vector<double>& eventTimes) {
  double grey = clamp01(t - 0.3) - clamp01((t - 33.5) * 1.5);
  for (const double e : eventTimes) {
    if (e < t) grey *= ease(clamp01(2.0 * (t - e)), 1.0);
  }
  double dim = 1.0;
  if (t > 17.0 && t < 18.09) {
    grey -= (t - 17.0) * 0.3;
    dim = 1.0 - (t - 17.0) * 0.55;
  }
  return {grey, dim};
}

double ghostSpreadAt(double t) {
  const double early = t <= 16.2 ? bump((t - 6.2) * 0.4) + clamp01(t - 12.0) - clamp01((t - 13.0) * 1.5)
                                 : 2.0 - 2.0 * clamp01((t - 16.2) * 0.8);
  return bump((t - 20.0) * 0.6) + bump((t - 22.5) * 0.6) + bump((t - 29.4) * 1.3) + early;
}
