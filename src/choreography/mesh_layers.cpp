#include "choreography/mesh_layers.h"

#include <GL/gl.h>

#include <cmath>

#include "assets/scene_loading.h"
#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/look_at_camera.h"
#include "math/ease.h"
#include "math/random.h"
#include "passes/caustic_frames.h"
#include "passes/gl_state_helpers.h"

namespace {
// The fixed-function rendition has no projected light: its meshes wear
// the two base pictures it loads for them (kGroundPicture, kFacetPicture).

// The slot whose fragment program takes the oscillators: the caustic
// program of the first projection pair.
constexpr int kCausticProgramSlot = 3;

MeshDrawState& drawState(SceneFrame& frame) { return frame.app.meshDraw; }

void placeAt(MeshDrawState& s, double x, double y, double z, double scale) {
  s.translate = FlagVec3{1, float(x), float(y), float(z)};
  s.scale = FlagVec3{1, float(scale), float(scale), float(scale)};
}
}  // namespace

Oscillators oscillatorsAt(double T) {
  return {float(std::sin(1.4 * T)), float(std::sin(1.2 * T)), float(std::sin(1.6 * T))};
}

double baseFaceFraction(double T) {
  if (T > 27.6) return 1.0 - clamp01(T - 27.6);
  return clamp01(T - 6.0) - clamp01(T - 30.0);
}

void drawPrologue(SceneFrame& frame) {
  const Oscillators o = oscillatorsAt(frame.T);
  glDisable(GL_ALPHA_TEST);
  glClearColor(0, 0, 0, 0);
  glDisable(GL_BLEND);
  MeshDrawState& s = drawState(frame);
  s.angle = 0.0;
  placeAt(s, 0.0, -12.0, 0.0, 0.1);
  s.axis = FlagVec3{1, 0, 1, 0};
  s.useBasis = false;
  glEnable(GL_CULL_FACE);
  glColor3f(0.5f, 0.5f, 0.6f);
  frame.rendition.setProgramAlpha(frame, kCausticProgramSlot, o.a, o.b, o.c);
  s.faceFraction = float(baseFaceFraction(frame.T));
}

void drawBaseMesh(SceneFrame& frame) {
  const int caustic = causticFrame(frame.T);
  MeshLook look;
  look.scene = frame.assets.sceneIndexes[0];
  look.decalTexture = look.lightTexture = caustic;
  look.programSlot = frame.assets.projectionPrograms[0];
  look.plainTexture = caustic;
  frame.rendition.drawMesh(frame, look);
}

void finishPrologue(SceneFrame& frame) {
  // Every layer finds the placement a mesh draw puts back, whether the base
  // mesh was drawn or not.
  drawState(frame).resetPlacement();
  glDisable(GL_CULL_FACE);
}

ManCopy nextManCopy(double T, int i) {
  ManCopy c{};
  const double fall = 0.5 * std::pow(std::max(0.0, T - 15.0 - 0.3 * i), 2.0);
  double s = fall;
  // Copies 0 and 2 are in place from the start; the others rise into it.
  if (i != 0 && i != 2) s += 20.0 * ease(clamp01((T - 6.0 - 0.2 * i) * 0.2), 1.0) - 20.0;
  c.z = 2.0 * (random01() * 20.0 - 28.0 - s);
  c.y = 2.0 * (random01() * 20.0 - 22.0);
  c.x = 2.0 * (random01() * 20.0 - 10.0);
  c.angle = 2.0 * T + random01() * 360.0;
  const double flickerRate = random01() + 1.0;
  c.faceFraction = 0.46 * clamp01((T - 5.3 - 0.1 * i) * 0.5) * (1.0 - clamp01((T - 20.1 - 0.1 * i) * 2.8));
  const double cold = clamp01(T - 12.0 - 0.4 * i);
  // A rare bright flicker: a high power of a sine, out of step per copy.
  const double phase = 1.3 * i;
  const double bright = 1.0 + std::pow(1.02 * std::sin(flickerRate * T + phase), 40.0) * clamp01((T - 8.0) * 0.4);
  c.red = (1.0 + cold) * 0.12 * bright;
  c.green = (0.56 - 0.3 * cold) * 0.6 * bright;
  c.blue = (0.5 - 0.4 * cold) * 0.6 * bright;
  return c;
}

void drawManCopies(SceneFrame& frame) {
  seedRandom(1000);
  for (int k = 0; k < 120; ++k) random01();
  MeshDrawState& s = drawState(frame);
  // Ghosts: each copy adds its dark colour onto the picture (its far side
  // culled), tested against the man's depth but writing none, so it never
  // covers him or darkens what is behind it; the programs light its
  // outline with the glow.
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glEnable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDepthMask(GL_FALSE);
  for (int i = 0; i < 9; ++i) {
    const ManCopy c = nextManCopy(frame.T, i);
    if (c.faceFraction <= 1e-5) continue;
    placeAt(s, c.x, c.y, c.z, 0.4);
    s.angle = c.angle;
    s.axis = FlagVec3{1, -0.3f, 1.0f, 0.4f};
    s.faceFraction = float(c.faceFraction);
    glColor4d(c.red, c.green, c.blue, frame.rendition.ghostAlpha());
    MeshLook look;
    look.scene = frame.assets.sceneIndexes[0];
    look.decalTexture = look.lightTexture = kGlowTexture;
    look.programSlot = frame.assets.projectionPrograms[1];
    look.plainTexture = kFacetPicture;
    frame.rendition.drawMesh(frame, look);
  }
  s.resetPlacement();
  s.axis = FlagVec3{1, 0, 1, 0};
  glPopAttrib();
}

void drawHeart(SceneFrame& frame) {
  MeshDrawState& s = drawState(frame);
  const double T = frame.T;
  // Beside the man, turning, where the orbiting camera finds it (the
  // opening's close-up hangs over his chest).
  placeAt(s, 2.6, 1.5, 1.8, 0.02);
  s.angle = 25.0 * T;
  s.faceFraction = float(clamp01((T - 5.0) * 0.4) * (1.0 - clamp01((T - 20.5) * 0.8)));
  if (s.faceFraction > MeshDrawState::kLeastFaceFraction) {
    // The heart beats with the track's pulse.
    const double beat = 1.0 + 0.5 * std::pow(std::fabs(std::sin(T * 3.1)), 12.0);
    glColor3d(0.9 * beat, 0.35 * beat, 0.3 * beat);
    MeshLook look;
    look.scene = frame.assets.sceneIndexes[1];
    look.decalTexture = kDepthTexture;
    look.lightTexture = kUnloadedTexture;
    look.programSlot = frame.assets.projectionPrograms[1];
    look.plainTexture = sceneTextureNumber(look.scene, 0);  // its own muscle picture
    frame.rendition.drawMesh(frame, look);
  }
  s.resetPlacement();
}

void placeCamera(SceneFrame& frame) {
  resetTextureMatrix();
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  multiplyLookAt(frame.app.camera);
  glPointSize(frame.app.picture.pixelScale());
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDepthMask(GL_FALSE);
}

void drawManGon(SceneFrame& frame) {
  const double T = frame.T;
  MeshDrawState& s = drawState(frame);
  const Oscillators o = oscillatorsAt(T);
  frame.rendition.setProgramAlpha(frame, frame.assets.projectionPrograms[0], o.a, o.b, o.c);
  placeAt(s, 0.0, -2.0, 70.0, 0.3);
  s.faceFraction = float(clamp01((T - 19.2) * 0.35) - clamp01((T - 27.2) * 0.8));
  if (s.faceFraction > MeshDrawState::kLeastFaceFraction) {
    glColor3f(1.0f, 0.9f, 0.8f);
    MeshLook look;
    look.scene = frame.assets.sceneIndexes[2];
    look.decalTexture = look.lightTexture = causticFrame(T);
    look.programSlot = frame.assets.projectionPrograms[2];
    // Without lighting a plain picture added over the scene burns to a white
    // silhouette; the caustics give the fixed function his shape.
    look.plainTexture = look.decalTexture;
    frame.rendition.drawMesh(frame, look);
  }
  s.resetPlacement();
}

void drawGround(SceneFrame& frame) {
  const double T = frame.T;
  MeshDrawState& s = drawState(frame);
  // The ground's own light hangs high above it, so the ripple map spreads
  // wide over the rocks.
  static const CameraView kGroundLight{FlagVec3{1, 0, 0, 120}, FlagVec3{1, 0, 0, 0}, FlagVec3{1, 0, 1, 0}};
  const double fade = 1.0 - clamp01((T - 31.2) * 0.83);
  placeAt(s, 0.0, 0.0, 0.0, 0.5);
  s.faceFraction = 1.0f;
  glColor3d(0.3 * fade, 0.33 * fade, 0.42 * fade);
  MeshLook look;
  look.scene = frame.assets.sceneIndexes[4];
  look.decalTexture = look.lightTexture = kGlowTexture2;
  look.programSlot = frame.assets.projectionPrograms[4];
  look.light = &kGroundLight;
  look.plainTexture = kGroundPicture;
  frame.rendition.drawMesh(frame, look);
  s.resetPlacement();
}
