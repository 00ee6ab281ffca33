#include "parts/part_alpha.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

#include "choreography/rendition.h"
#include "choreography/scene_layers.h"
#include "demo/demo_app.h"
#include "effects/billboard.h"
#include "math/random.h"
#include "parts/composition_levels.h"
#include "parts/part_set_up.h"
#include "passes/gl_state_helpers.h"
#include "passes/glow_pass.h"
#include "passes/shadow_pass.h"

namespace {
PartAlpha* currentPart = nullptr;

// The picture in the window: the scene copy, in ghost copies while the
// spread is open, then the glow added over it.
void compose(const PartAlpha& part, DemoApp& app) {
  const double t = part.partTime;
  bindTextureNumber(app, part.sceneTexture);
  glEnable(GL_TEXTURE_2D);
  glPushMatrix();
  const GreyLevel level = greyLevelAt(t, part.eventTimes);
  const double g = level.grey;
  const double d = level.dim;
  glColor3d(g * d, g * d, g);  // the cold break dims red and green only
  const double spread = ghostSpreadAt(t);
  if (spread < 0.001) {
    drawScreenCopyBillboard(800, 0.0, 1.3, 1.3);
  } else {
    glColor3d(0.25 * g * d, 0.25 * g * d, 0.25 * g);
    for (int k = -2; k <= 1; ++k) {
      if (k == -1) glEnable(GL_BLEND);  // the first copy is opaque
      glPushMatrix();
      const double s = k * spread;
      if (t > 12.3 && t < 16.0) glTranslated(0, 0.008 * s, 0.008 * s);
      if (t > 22.0 && t < 24.0) glTranslated(0, -0.008 * s, 0.008 * s);
      const double scale = 1.3 + 0.014 * s;
      drawScreenCopyBillboard(800, 0.0, scale, scale);
      glPopMatrix();
    }
  }
  glPopMatrix();

  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  bindTextureNumber(app, part.glowTexture);
  glPushMatrix();
  const double f = std::clamp(3.0 * t, 0.0, 1.0);
  glColor3d(0.8 * d * f, 0.8 * d * f, 0.8 * f);
  drawBillboard(0.0, 1.3, 1.3);
  glPopMatrix();
  bindTextureNumber(app, part.glowTexture3);
}
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
  scenePass(*app, *target, drawAlphaScenes, 0, app->camera, app->camera, true, 800, sceneTexture);
  app->screenQuadWidth = 800;
  glowPass(*app, *target, sceneTexture, glowTexture, 128, 0.69, 2, blurProgram);
  app->screenQuadWidth = 512;
  setCameraProjection(*app, *target);
  disableProfiles(*app);
  gluLookAt(1.675, 0.03833, 0, 0, 0.03833, 0, 0, 1, 0);
  compose(*this, *app);
  seedRandom(static_cast<uint32_t>(static_cast<int64_t>(partTime * 10000000.0)));
  currentPart = nullptr;
}
