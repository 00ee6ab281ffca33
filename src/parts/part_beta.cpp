#include "parts/part_beta.h"

#include "choreography/rendition.h"
#include "choreography/scene_layers.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "math/random.h"
#include "parts/part_set_up.h"
#include "passes/shadow_pass.h"

namespace {
// The part the scene callback reaches; set while a frame is drawn.
PartBeta* currentPart = nullptr;
}  // namespace

void drawBetaScenes(DemoApp& app) {
  if (currentPart == nullptr) return;
  SceneFrame frame = currentPart->sceneFrame(app, fixedFunctionRendition());
  drawScene(frame, currentPart->layerObserver);
}

void PartBeta::setUp(DemoApp* app) { setUpPart(*this, *app, RenditionKind::fixedFunction); }

void PartBeta::drawPartFrame(OffscreenTarget* target, DemoApp* app, FrameInputs*) {
  currentPart = this;
  placeCameraAndLight(*app, *target);
  // Straight into the window: no depth pass, nothing copied.
  scenePass(*app, *target, drawBetaScenes, 0, app->camera, app->camera, false, app->picture.width, kSceneTexture);
  seedRandom(static_cast<uint32_t>(static_cast<int64_t>(partTime * 10000000.0)));
  currentPart = nullptr;
}
