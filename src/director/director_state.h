#pragma once

#include "math/pulse.h"

// The director's clocks, process-wide: demo time is the time base of every scene.
struct DirectorState {
  double demoTime = 0.0;
  double frameDelta = 0.0;
  double lastClock = 0.0;
  double musicTime = 0.0;
  Pulse cuePulse;  // restarted at every cue change
};
