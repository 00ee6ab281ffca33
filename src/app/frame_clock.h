#pragma once
#include <cstdint>

// The demo's wall clock: the high-resolution counter, summed interval by
// interval since the last reset.
struct FrameClock {
  int64_t lastCounter = 0;
  double accumulated = 0.0;
};

void frameClockReset(FrameClock& clock);
// Seconds since the last reset; every reading advances the stored counter.
double frameClockRead(FrameClock& clock);

// The reading for a given counter value and frequency. A frequency of 0
// (no usable counter) adds no time rather than infinities.
double frameClockAdvance(FrameClock& clock, int64_t now, int64_t frequency);
