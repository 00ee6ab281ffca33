#pragma once
#include "app/frame_clock.h"
#include "director/step_clock.h"

// The live run's pause and single steps, in demo time: while paused the
// frames keep coming (the window stays painted) with a step of 0, or 1/60 s
// for each step asked for.
struct LivePlayback {
  static constexpr int kStepFps = 60;
  bool paused = false;
  int pendingSteps = 0;
};

// The wall clock of a live run, read twice a frame as the driver always has
// (the short gap between the readings belongs to no frame). Paused, the
// readings still move on, so resuming does not make up for the pause.
class LiveStepClock final : public StepClock {
 public:
  LiveStepClock(FrameClock& clock, LivePlayback& playback) : clock_(clock), playback_(playback) {}
  double nextStep(DirectorState& state) override;
  bool locksToMusic() const override { return !playback_.paused; }

 private:
  FrameClock& clock_;
  LivePlayback& playback_;
};
