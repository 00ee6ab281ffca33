#include "parts/part_clock.h"

#include <algorithm>
#include <cmath>

double partClockRate(double partTime, double speedBias) {
  const double ramp1 = std::clamp((partTime - 16.8) * 0.2, 0.0, 1.0);
  const double ramp2 = std::clamp((partTime - 23.0) * 0.2, 0.0, 1.0);
  return ramp2 * speedBias * 0.03 + ramp1 * 0.1 + 1.0;
}

double demoSecondsAt(double partTime, double speedBias) {
  if (partTime <= 0.0 || !std::isfinite(partTime)) return partTime;
  // Midpoint sums over millisecond steps: the rate is piecewise linear and
  // close to 1, so this is far finer than anything shown in seconds.
  constexpr double kStep = 0.001;
  const int steps = int(std::ceil(partTime / kStep));
  const double h = partTime / steps;
  double seconds = 0.0;
  for (int i = 0; i < steps; ++i) seconds += h / partClockRate((i + 0.5) * h, speedBias);
  return seconds;
}
