#include "app/live_playback.h"

double LiveStepClock::nextStep(DirectorState& state) {
  const double delta = frameClockRead(clock_) - state.lastClock;
  state.lastClock = frameClockRead(clock_);
  if (!playback_.paused) return delta;
  if (playback_.pendingSteps > 0) {
    --playback_.pendingSteps;
    return 1.0 / LivePlayback::kStepFps;
  }
  return 0.0;
}
