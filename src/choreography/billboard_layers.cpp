#include "choreography/billboard_layers.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "choreography/layer_windows.h"
#include "choreography/point_layers.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "math/ease.h"
#include "passes/gl_state_helpers.h"

namespace {
// Pictures the part loads: the clouds (with alpha), the soft blob, the two
// wing pictures.
constexpr int kWingPicture2 = 203;

// Night colours: a violet veil, a cold blue light, pale violet wings and
// warm lights along the line.
struct Tint {
  float r, g, b;
};
constexpr Tint kVeil{0.30f, 0.22f, 0.55f};
constexpr Tint kHalo{0.16f, 0.24f, 0.45f};
constexpr Tint kWing{0.12f, 0.1f, 0.24f};
constexpr Tint kLineTint{0.45f, 0.27f, 0.22f};

FlagVec3 at(double x, double y, double z) { return FlagVec3{1, float(x), float(y), float(z)}; }

// In over `in` seconds from the start of layer `number`'s window, out over
// `out` seconds up to its end. These layers open alike in both renditions.
double fadeWithin(int32_t number, double T, double in, double out) {
  const TimeSpan& w = layerWindow(number, RenditionKind::shader).open;
  return ease(clamp01((T - w.from) / in), 1.0) * (1.0 - ease(clamp01((T - (w.to - out)) / out), 1.0));
}

void drawFacing(const BillboardPlace& b, Tint tint) {
  if (b.brightness <= 0.0) return;
  glColor4d(tint.r * b.brightness, tint.g * b.brightness, tint.b * b.brightness, 1.0);
  glPushMatrix();
  glTranslatef(b.centre.x, b.centre.y, b.centre.z);
  drawBillboard(b.roll, b.halfSize, b.halfSize);
  glPopMatrix();
}

// Textured, no culling, added onto the picture without writing depth.
void beginQuads(SceneFrame& frame, int picture) {
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDepthMask(GL_FALSE);
  glEnable(GL_TEXTURE_2D);
  bindTextureNumber(frame.app, picture);
  glMatrixMode(GL_MODELVIEW);
}

void endQuads() { glPopAttrib(); }
}  // namespace

std::array<BillboardPlace, 2> cameraQuads(double T) {
  std::array<BillboardPlace, 2> quads;
  const double fade = fadeWithin(4, T, 2.0, 1.5);
  // The veil turns slowly behind the figure; the light breathes above it.
  quads[0] = BillboardPlace{at(0.0, -1.0, -6.0), 12.0, 4.0 * T, 0.9 * fade};
  quads[1] = BillboardPlace{at(1.6, 2.6, 3.2), 1.6 + 0.3 * std::sin(1.2 * T), 0.0, 0.7 * fade};
  return quads;
}

std::array<BillboardPlace, 2> wingBillboards(double T) {
  std::array<BillboardPlace, 2> wings;
  const double fade = fadeWithin(16, T, 1.5, 2.0);
  // The wings open out from the figure's back and beat slowly.
  const double open = ease(clamp01((T - layerWindow(16, RenditionKind::shader).open.from) * 0.4), 1.0);
  const double beat = 6.0 * std::sin(1.1 * T);
  wings[0] = BillboardPlace{at(-9.0 * open, 0.0, 44.0), 18.0 * open, 20.0 + beat, fade};
  wings[1] = BillboardPlace{at(9.0 * open, 0.0, 44.0), 18.0 * open, -20.0 - beat, fade};
  return wings;
}

BillboardPlace lineLight(double T, int i) {
  // A straight line low over the ground, across the view of the flight and
  // clear of the camera's path.
  const FlagVec3 from = at(-70.0, -40.0, 8.0);
  const FlagVec3 to = at(70.0, 40.0, 14.0);
  const double position = std::fmod(double(i) / kLineLights + 0.05 * T, 1.0);
  const double along = std::sin(position * std::numbers::pi);
  const double fade = fadeWithin(17, T, 1.0, 2.0);
  BillboardPlace b;
  b.centre = from + (to - from) * float(position);
  b.halfSize = 2.0 + 1.5 * along;
  b.brightness = along * fade;
  return b;
}

void drawCameraQuads(SceneFrame& frame) {
  const auto quads = cameraQuads(frame.T);
  beginQuads(frame, kCloudPicture);
  // The cloud's own alpha gives the veil its ragged edge.
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  drawFacing(quads[0], kVeil);
  glBlendFunc(GL_ONE, GL_ONE);
  bindTextureNumber(frame.app, kBlobPicture);
  drawFacing(quads[1], kHalo);
  endQuads();
}

void drawWings(SceneFrame& frame) {
  const auto wings = wingBillboards(frame.T);
  beginQuads(frame, kWingPicture);
  drawFacing(wings[0], kWing);
  bindTextureNumber(frame.app, kWingPicture2);
  drawFacing(wings[1], kWing);
  endQuads();
}

void drawLineOfLights(SceneFrame& frame) {
  beginQuads(frame, kBlobPicture);
  const FacingAxes axes = facingAxes(frame.app.camera);
  glBegin(GL_QUADS);
  for (int i = 0; i < kLineLights; ++i) {
    const BillboardPlace b = lineLight(frame.T, i);
    glColor3d(kLineTint.r * b.brightness, kLineTint.g * b.brightness, kLineTint.b * b.brightness);
    FlagVec3 right = axes.right;
    FlagVec3 up = axes.up;
    emitBillboardQuad(b.halfSize, b.halfSize, b.centre, right, up);
  }
  glEnd();
  endQuads();
}
