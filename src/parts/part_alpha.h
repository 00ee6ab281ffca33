#pragma once
#include "parts/demo_part.h"

// The shader rendition: every mesh through the projection passes into the
// offscreen surface, then the glow and the composed picture in the window.
class PartAlpha final : public DemoPart {
 public:
  void setUp(DemoApp* app) override;

 protected:
  void drawPartFrame(OffscreenTarget* target, DemoApp* app, FrameInputs* inputs) override;
};

// The scene callback the shadow pass runs: the choreography of the
// PartAlpha being drawn.
void drawAlphaScenes(DemoApp& app);
