#pragma once
#include <cstdint>

#include "director/director_state.h"

// Where the frame driver takes each frame's step from: the wall clock of a
// live run, or a fixed step for rendering chosen moments.
class StepClock {
 public:
  // The next frame's step before any music correction; keeps
  // `state.lastClock` as the reading the step was measured from.
  virtual double nextStep(DirectorState& state) = 0;
  // Whether demo time is pulled toward the heard music: only a clock that
  // runs beside playing music has anything to lock to.
  virtual bool locksToMusic() const = 0;

 protected:
  ~StepClock() = default;
};

// The demo times of a fixed-step run at `fps` frames a second whose first
// frame is at `origin`. A time on the grid of the run from 0 is computed as
// index / fps, never summed, so a run that starts there meets the run from 0
// on the very same values.
class FrameGrid {
 public:
  FrameGrid(double origin, int fps);

  int fps() const { return fps_; }
  double step() const { return 1.0 / fps_; }
  // Demo time of frame n (0 = the first).
  double time(int64_t n) const;
  // How many frames lie before `end` (frame times below it).
  int64_t framesBefore(double end) const;

 private:
  double origin_;
  int fps_;
  int64_t gridIndex_ = -1;  // origin x fps, when the origin lies on the grid
};

// Frame n of its grid on the n-th call; the first step runs from wherever
// demo time stands (0 when the run starts there).
class FixedStepClock final : public StepClock {
 public:
  explicit FixedStepClock(FrameGrid grid) : grid_(grid) {}
  double nextStep(DirectorState& state) override;
  bool locksToMusic() const override { return false; }

  // Frames taken so far.
  int64_t frames() const { return next_; }

 private:
  FrameGrid grid_;
  int64_t next_ = 0;
};
