#include "parts/demo_part.h"

#include <GL/gl.h>

#include <algorithm>

#include "choreography/line_layers.h"
#include "demo/demo_app.h"
#include "effects/line_batch.h"
#include "gpu/offscreen_target.h"
#include "math/random.h"
#include "parts/camera_programme.h"
#include "parts/part_clock.h"
#include "passes/gl_state_helpers.h"

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
  timeAccumulator += partClockRate(partTime, speedBias) * frameDelta;
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
  if (target != nullptr && target->windowRC != nullptr) makeWindowCurrent(*target);
  glPopAttrib();
  glFlush();
}

SceneFrame DemoPart::sceneFrame(DemoApp& app, const Rendition& rendition) {
  SceneFrame frame{app, rendition, partTime, lastFrameDelta, {}, {}};
  SceneAssets& a = frame.assets;
  a.surfacePoints = surfacePoints;
  a.curvePaths = curvePaths;
  a.outlinePaths = outlinePaths;
  a.projectionPrograms = projectionPrograms;
  a.sceneIndexes = sceneIndexes;
  frame.water = WaterState{&ripple, &rippleClock};
  sceneLineBatch().setPixelScale(app.picture.pixelScale());
  return frame;
}

void DemoPart::placeCameraAndLight(DemoApp& app, OffscreenTarget& target) {
  const ClipPlanes planes = clipPlanesAt(partTime);
  app.nearPlane = planes.nearPlane;
  app.farPlane = planes.farPlane;
  setCameraProjection(app, target);
  glClearColor(0, 0, 0, 0);
  runCameraProgramme(partTime, app.camera);
  app.lightView = CameraView{FlagVec3{1, 0, 0, 10}, FlagVec3{1, 0, 0, 0}, FlagVec3{1, 0, 1, 0}};
}
