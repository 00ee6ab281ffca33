#pragma once

#include "parts/demo_part.h"

// A stand-in part that loads nothing and draws a moving picture from the
// frame inputs alone: a backdrop, a progress bar of part time and a square
// that bounces on every cue. The capture benchmark times the writers with
// it, apart from what the real parts cost to draw.
class PlainPart final : public DemoPart {
 public:
  void setUp(DemoApp* app) override;

 protected:
  void drawPartFrame(OffscreenTarget* target, DemoApp* app, FrameInputs* inputs) override;
};
