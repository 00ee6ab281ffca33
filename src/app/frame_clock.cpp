#include "app/frame_clock.h"

#include "platform/system.h"

void frameClockReset(FrameClock& clock) {
  clock.accumulated = 0.0;
  clock.lastCounter = performanceCounter();
}

double frameClockRead(FrameClock& clock) {
  const int64_t now = performanceCounter();
  return frameClockAdvance(clock, now, performanceFrequency());
}

double frameClockAdvance(FrameClock& clock, int64_t now, int64_t frequency) {
  const int64_t ticks = now - clock.lastCounter;
  clock.lastCounter = now;
  if (frequency > 0) {
    clock.accumulated += static_cast<double>(ticks) / static_cast<double>(frequency);
  }
  return clock.accumulated;
}
