#pragma once
#include "parts/demo_part.h"

// The fixed-function rendition: the same choreography drawn straight into
// the window, without programs, glow or composition.
class PartBeta final : public DemoPart {
 public:
  void setUp(DemoApp* app) override;

 protected:
  void drawPartFrame(OffscreenTarget* target, DemoApp* app, FrameInputs* inputs) override;
};

// The scene callback of the PartBeta being drawn.
void drawBetaScenes(DemoApp& app);
