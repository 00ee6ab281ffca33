#pragma once

#include "director/director_state.h"
#include "director/frame_inputs.h"
#include "director/music.h"
#include "director/timeline.h"

// The outside world of one frame: the clock, the cursor and the drawing.
struct FramePorts {
  virtual double readClock() = 0;  // seconds since the clock's reset
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

// One frame: advance demo time (pulled toward the heard music when music
// plays), derive the camera and cue values, draw the part, and say whether
// the demo is over. `music` is null when music is off.
FrameEnd runFrame(DirectorState& state, Timeline& timeline, FrameInputs& inputs, const FrameControls& controls,
                  FramePorts& ports, MusicChannel* music);
