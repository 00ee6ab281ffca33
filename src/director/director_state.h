#pragma once

#include <array>

#include "math/pulse.h"

// The director's clocks, process-wide: demo time is the time base of every scene.
struct DirectorState {
  double demoTime = 0.0;
  double frameDelta = 0.0;
  double lastClock = 0.0;
  double musicTime = 0.0;
  Pulse cuePulse;  // restarted at every cue change

  // How long a frame takes to reach the screen, predicted from the clock
  // steps of the last few frames (live runs with music only).
  static constexpr int kLeadFrames = 3;
  std::array<double, kLeadFrames> recentSteps{};
  int stepsSeen = 0;
  double lead = 0.0;  // the prediction the last frame was drawn with
};
