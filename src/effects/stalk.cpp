#include "effects/stalk.h"

#include <GL/gl.h>

#include <cmath>
#include <numbers>

#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "effects/effect_frame.h"
#include "effects/line_batch.h"
#include "math/ease.h"
#include "math/random.h"

namespace {
constexpr double kBudSize = 0.05;
constexpr double kHaloSize = 0.2;
constexpr double kBudTurnPerSecond = 14.0;  // degrees; the petals turn slowly

FlagVec3 rootPoint(double u) { return {1, float(-0.2 - (1.0 - u) * 0.3), 2.2f, 1.4f}; }

void budQuad(const FlagVec3& at, double angle, double size, float gain) {
  glColor4f(gain, gain, gain, 1.0f);
  glPushMatrix();
  glTranslatef(at.x, at.y, at.z);
  drawBillboard(angle, size, size);
  glPopMatrix();
}
}  // namespace

FlagVec3 stalkTip(double t) {
  const double g = std::sin(random01() * t) * 0.5 + std::numbers::pi / 2.0;
  const double oy = random01() * 0.5 + 0.2;
  double ox = random01() * 0.3 - 0.3;
  ox = ox + 0.45 * ease(clamp01(t * 0.2), 2.0) - 0.45;
  ox = ox - 0.85 * ease(clamp01((t - 6.0) * 0.1), 2.0);
  return {1, float(std::sin(g) * 0.2 - 0.2 + ox), float(std::cos(g) * 0.2 + 2.2 + oy), 1.4f};
}

FlagVec3 stalkVertex(const FlagVec3& tip, int i) {
  const double u = double(i) / kStalkVertices;
  const FlagVec3 r = rootPoint(u);
  const double w = u * u * u * u;
  return {1, float(r.x + (tip.x - r.x) * w), float(r.y + (tip.y - r.y) * w), float(r.z + (tip.z - r.z) * w)};
}

double stalkFade(double t) { return clamp01(t * 0.6) * (1.0 - clamp01((t - 8.4) * 1.25)); }

void drawStalk(const StalkLook& look, const EffectFrame& frame, double t) {
  const FlagVec3 tip = stalkTip(t);
  const double fade = stalkFade(t);
  glPushAttrib(GL_ENABLE_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  if (fade > 0.001) {
    const float grey = float(look.lineGrey * fade);
    const LineColour colour{grey, grey, grey, 1.0f};
    frame.lines.setWidth(1.0f);
    frame.lines.beginStrip();
    for (int i = 0; i < kStalkVertices; ++i) frame.lines.stripVertex(stalkVertex(tip, i), colour);
    frame.lines.flush();
  }
  glEnable(GL_TEXTURE_2D);
  // Faded out, the additive bud would add nothing.
  if (fade > 0.001) {
    bindEffectTexture(frame, kBudPicture);
    const double angle = t * kBudTurnPerSecond;
    budQuad(tip, angle, kBudSize, float(look.budGain * fade));
    budQuad(tip, -angle, kHaloSize, float(look.haloGain * fade));
  }
  glPopAttrib();
}
