#pragma once
// A GL suite with the offscreen target a part's frames draw through, as the
// director hands it to them.
#include <string>

#include "director/frame_inputs.h"
#include "gl_test_context.h"
#include "gpu/offscreen_target.h"
#include "set_up_part.h"

class PartFrameSuite : public GlSuite<128> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    std::string error;
    ASSERT_TRUE(createOffscreenTarget(target_, 1024, 1024, error)) << error;
  }
  void TearDown() override { destroyOffscreenTarget(target_); }

  // One frame of the part, `step` seconds long.
  void drawOneFrame(SetUpPart& s, double step) {
    double delta = step;
    s.part->drawFrame(&delta, &target_, s.app.get(), &inputs_);
  }

  OffscreenTarget target_;
  FrameInputs inputs_;
};
