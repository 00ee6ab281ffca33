#pragma once

#include "director/director_state.h"
#include "director/frame_inputs.h"
#include "director/music.h"
#include "director/step_clock.h"
#include "director/timeline.h"

// The outside world of one frame: the cursor and the drawing.
struct FramePorts {
  virtual void cursorPosition(int& x, int& y) = 0;
  // Per-frame settings and the colour clear the part starts from.
  virtual void beginFrame() = 0;
  virtual void drawPart(double& frameDelta, FrameInputs& inputs) = 0;
  // Darkens the picture by `level` (0 nothing .. 1 black).
  virtual void drawFadeOverlay(double level) = 0;

 protected:
  ~FramePorts() = default;
};

// What the shell knows this frame.
struct FrameControls {
  bool musicEnabled = false;
  bool leftButtonDown = false;
  double wheel = 0.0;
  bool endRequested = false;
  double endStartTime = 0.0;
};

enum class FrameEnd {
  None,      // go on
  RunOver,   // demo time passed the end of the production
  FadedOut,  // the fade after Escape is complete
};

constexpr double kDemoEndTime = 33.5;

// One frame: advance demo time by the clock's step (pulled toward the heard
// music when the clock locks to it), derive the camera and cue values, draw
// the part, and say whether the demo is over. With "Music" on, the random
// generator is re-seeded from demo time whatever the clock, so a frame draws
// the same random layout live and rendered. `music` is null when nothing
// is heard.
FrameEnd runFrame(DirectorState& state, Timeline& timeline, FrameInputs& inputs, const FrameControls& controls,
                  FramePorts& ports, StepClock& clock, MusicChannel* music);

// Starting anywhere: demo time, the cue tracking and the part are brought to
// where a fixed-step run from 0 at `fps` stands just before its frame at
// demo time `t`. Every earlier frame of that run is taken, in the same
// steps, through `skipping`, whose drawPart only advances the part. Demo
// time and `lastClock` end on the last frame taken (0 when none), so the
// caller's clock steps onto `t` next. State that only drawing builds is the
// part's to reset.
void catchUpTo(double t, int fps, DirectorState& state, Timeline& timeline, FrameInputs& inputs,
               const FrameControls& controls, FramePorts& skipping);
