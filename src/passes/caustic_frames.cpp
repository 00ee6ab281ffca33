#include "passes/caustic_frames.h"

#include <cmath>
#include <cstdio>

#include "demo/demo_app.h"
#include "passes/gl_state_helpers.h"

std::string causticFrameFile(int frame) {
  char name[32];
  std::snprintf(name, sizeof name, "textures/caust%02d.jpg", 2 * frame);
  return name;
}

void loadCausticFrames(DemoApp& app, int first) {
  for (int k = 0; k < kCausticFrameCount; ++k) textureTable(app).loadJpegTexture(causticFrameFile(k), first + k);
}

int causticFrame(double partTime, int first) {
  // In doubles: the step count of a long run does not fit an int.
  const double step = std::trunc(partTime * kCausticStepsPerSecond);
  if (!std::isfinite(step) || step < 0.0) return first;
  return first + static_cast<int>(std::fmod(step, double(kCausticFrameCount)));
}
