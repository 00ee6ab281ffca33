#include "math/pulse.h"

#include <cmath>

// Both curves have a pole before the trigger (the denominator reaches 0 when
// demo time sits a fraction of a second before startTime, which happens when
// it is pulled back towards the music). A denominator of 0 or below counts as
// past the cut-off, so no infinity reaches the scenes.

double Pulse::decay(double t, double a, double b) const {
  const double denominator = (t - startTime) * b * a + 1.0;
  if (denominator <= 0.0) return 0.0;
  const double f = 1.0 / denominator;
  return f >= 7.5e-5 ? f : 0.0;
}

double Pulse::dampedCosine(double t, double a, double b) const {
  const double u = (t - startTime) * b;
  const double d = a * u + 1.0;
  if (d <= 0.0) return 0.0;
  if (1.0 / d < 1e-5) return 0.0;
  return std::cos(u) / d;
}
