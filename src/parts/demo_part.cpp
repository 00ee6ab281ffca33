#include "parts/demo_part.h"

#include <GL/gl.h>

#include <algorithm>

#include "demo/demo_app.h"
#include "math/random.h"

namespace {
// Still water: the field as set-up leaves it, before any drop.
RippleField stillWater() { return RippleField(0.03, 128, 128); }
}  // namespace

void DemoPart::setTime(const double& time) { partTime = time; }
void DemoPart::unusedHookA() {}
void DemoPart::unusedHookB() {}

void DemoPart::resetPartState() {
  partTime = 0.0;
  timeAccumulator = 0.0;
  speedBias = -0.6;
  frameCount = 0;
  for (uint8_t& letter : randomLetters) {
    letter = static_cast<uint8_t>(random01() * 25.0 + 64.0);
  }
  ripple = stillWater();
  partTextureBase = 0;
  // A second set-up must not play every event twice.
  eventTimes.clear();
  eventTimes.push_back(12.3);
  eventTimes.push_back(16.2);
}

void DemoPart::rewind() {
  partTime = 0.0;
  timeAccumulator = 0.0;
  rippleClock = 0.0;
  ripple = stillWater();
}

bool DemoPart::advancePartTime(double frameDelta) {
  const double ramp1 = std::clamp((partTime - 16.8) * 0.2, 0.0, 1.0);
  const double ramp2 = std::clamp((partTime - 23.0) * 0.2, 0.0, 1.0);
  timeAccumulator += (ramp2 * speedBias * 0.03 + ramp1 * 0.1 + 1.0) * frameDelta;
  partTime = timeAccumulator;
  return partTime <= kPartEndTime;
}

void DemoPart::drawFrame(double* frameDelta, OffscreenTarget* target, DemoApp* app, FrameInputs* inputs) {
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  if (advancePartTime(*frameDelta)) {
    lastFrameDelta = *frameDelta;
    frameInputs = *inputs;
    ++frameCount;
    // The scene code reads the frame's inputs through the application.
    if (app != nullptr) app->inputs = inputs;
    drawPartFrame(target, app, inputs);
  }
  glPopAttrib();
  glFlush();
}
