#include "parts/part_alpha.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "choreography/rendition.h"
#include "choreography/scene_layers.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "math/random.h"
#include "parts/part_set_up.h"
#include "parts/window_composition.h"
#include "passes/gl_state_helpers.h"
#include "passes/glow_pass.h"
#include "passes/shadow_pass.h"

namespace {
PartAlpha* currentPart = nullptr;
}  // namespace

void drawAlphaScenes(DemoApp& app) {
  if (currentPart == nullptr) return;
  SceneFrame frame = currentPart->sceneFrame(app, shaderRendition());
  drawScene(frame, currentPart->layerObserver);
}

void PartAlpha::setUp(DemoApp* app) { setUpPart(*this, *app, RenditionKind::shader); }

void PartAlpha::drawPartFrame(OffscreenTarget* target, DemoApp* app, FrameInputs*) {
  currentPart = this;
  placeCameraAndLight(*app, *target);
  scenePass(*app, *target, drawAlphaScenes, 0, app->camera, app->camera, true, app->picture.width, kSceneTexture);
  app->screenQuadWidth = app->picture.width;
  glowPass(*app, *target, kSceneTexture, kGlowTexture, 128, 0.69, 2, blurProgram);
  app->screenQuadWidth = 512;
  setCameraProjection(*app, *target);
  disableProfiles(*app);
  gluLookAt(1.675, 0.03833, 0, 0, 0.03833, 0, 0, 1, 0);
  composeWindow(*this, *app);
  seedRandom(static_cast<uint32_t>(static_cast<int64_t>(partTime * 10000000.0)));
  currentPart = nullptr;
}
