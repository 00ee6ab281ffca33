#include "choreography/water_layer.h"

#include <GL/gl.h>

#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "gpu/offscreen_target.h"
#include "math/ease.h"
#include "math/random.h"
#include "passes/projection_pass.h"

namespace {
bool raining(double T) { return (T <= 20.4 || T >= 21.9) && T > 10.0 && T < 31.0; }
// The ground takes the ripple light only outside the two breaks.
bool lightsGround(double T) { return (T <= 20.3 || T >= 22.0) && (T <= 24.3 || T >= 26.3) && T > 17.8 && T < 30.5; }
bool copiesPicture(double T) { return T > 17.9 && T < 30.45 && (T <= 24.2 || T >= 25.5) && (T <= 20.3 || T >= 22.0); }
}  // namespace

uint32_t waterSeed(double T) { return static_cast<uint32_t>(static_cast<int64_t>(T * 1e9)); }

RippleStep advanceRipple(WaterState& water, double T, double step) {
  seedRandom(waterSeed(T));
  for (int k = 0; k < 100; ++k) random01();
  RippleStep result;
  if (!raining(T) || water.ripple == nullptr || water.rippleClock == nullptr) return result;
  *water.rippleClock += step;
  if (*water.rippleClock > 0.0) {
    *water.rippleClock -= water.ripple->dropInterval;
    result.dropped = true;
    result.x = static_cast<int32_t>(random01() * 120.0 + 5.0);
    result.y = static_cast<int32_t>(random01() * 120.0 + 5.0);
    water.ripple->drop(result.x, result.y, 3, 1.0);
    water.ripple->step(0.95);
  }
  return result;
}

void drawWater(SceneFrame& frame) {
  const double T = frame.T;
  DemoApp& app = frame.app;
  const RippleStep drop = advanceRipple(frame.water, T, frame.step);
  // The water is opaque; the layers after it blend as the camera layer set.
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
  if (drop.dropped && lightsGround(T)) {
    RippleField& ripple = *frame.water.ripple;
    ripple.normalMap(1.0);
    uploadRgbTexture(app.textures.name(kGlowTexture2), int(ripple.width), int(ripple.height),
                     ripple.normalBytes.data());
  }
  if (copiesPicture(T))
    copyFramebufferToTexture(app.textures.name(kSceneTexture2), app.picture.width, app.picture.height);

  glDisable(GL_BLEND);
  MeshDrawState& s = app.meshDraw;
  s.scale = FlagVec3{1, 0.55f, 0.55f, 0.55f};
  s.translate = FlagVec3{1, -0.2f, -0.4f, 17.1f};
  s.basis[0] = FlagVec3{1, -1, 0, 0};
  s.basis[1] = FlagVec3{1, 0, 0, 1};
  s.basis[2] = FlagVec3{1, 0, -1, 0};
  s.useBasis = true;
  s.axis = FlagVec3{1, 0, 1, 0};
  glColor3f(0.3f, 0.4f, 0.3f);
  glEnable(GL_CULL_FACE);
  s.faceFraction = float(clamp01((T - 17.2) * 2.0) - clamp01((T - 31.2) * 3.0));
  if (s.faceFraction > 0.0001f) {
    MeshLook look;
    look.scene = frame.assets.sceneIndexes[3];
    look.decalTexture = kSceneTexture2;
    look.lightTexture = kGlowTexture2;
    look.programSlot = frame.assets.projectionPrograms[3];
    setScreenCopyExtent(app, look.programSlot);
    look.light = &app.camera;
    frame.rendition.drawMesh(frame, look);
  }
  glPopAttrib();
  s.resetPlacement();
}
