#pragma once

// A curve that is triggered at startTime and fades out afterwards. The owner
// sets startTime to the current demo time when it fires the pulse.
struct Pulse {
  double startTime = 0.0;

  // 1 / ((t - startTime) * a * b + 1), cut to exactly 0 once it drops below
  // 7.5e-5 so the tail ends instead of creeping towards zero.
  double decay(double t, double a, double b) const;

  // cos(u) / (a * u + 1) with u = (t - startTime) * b, damping a and angular
  // rate b; 0 once the envelope 1 / (a * u + 1) drops below 1e-5.
  double dampedCosine(double t, double a, double b) const;
};
