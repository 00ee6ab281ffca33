#include "effects/closing_effect.h"

#include <GL/gl.h>

#include <array>
#include <cmath>
#include <numbers>

#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "effects/effect_frame.h"
#include "effects/line_batch.h"
#include "math/ease.h"
#include "math/random.h"

namespace {
constexpr int kRingSegments = 72;

// One group, in its own plane (turned by tiltX, then tiltY, then spinning
// about its normal). Its expansion starts on its accent: a beat of the
// outro in part time (the music's half-second beats run about 8 % faster
// in part time there: demo 28, 28.5, 29 ... fall on T 28.8, 29.4, 29.9 ...).
struct ClosingGroup {
  float x, y, z;
  float tiltX, tiltY;  // degrees
  float spin;          // degrees per second
  double accent;       // T of its beat
  double rate;         // share of the progress rate it expands at
  float radius0, radius1;
  int rays;
  int rings;
  float r, g, b;
  uint32_t seed;
};

// Laid out along the path the camera's axis sweeps while it comes down
// from the orbit to hover over (-8, 4): each group is in view when it
// flares. The accents are the beats on the chord changes and between.
constexpr std::array<ClosingGroup, 6> kGroups{{
    {5.0f, -3.5f, 2.0f, 0.0f, 0.0f, 9.0f, 28.28, 0.5, 1.0f, 12.0f, 96, 3, 1.0f, 0.85f, 0.6f, 5001},
    {1.0f, -1.0f, 4.0f, 20.0f, -10.0f, -14.0f, 28.82, 0.6, 0.8f, 8.0f, 72, 2, 1.0f, 0.9f, 0.7f, 5002},
    {-2.5f, 0.0f, 2.0f, -15.0f, 10.0f, 12.0f, 29.9, 0.5, 1.0f, 10.0f, 96, 3, 0.95f, 0.85f, 0.7f, 5003},
    {-2.0f, 0.5f, 5.0f, 10.0f, 25.0f, -8.0f, 30.99, 0.6, 0.5f, 7.0f, 120, 3, 1.0f, 0.8f, 0.5f, 5004},
    {-3.5f, 1.8f, 3.0f, -25.0f, 0.0f, 16.0f, 32.07, 0.6, 0.6f, 8.0f, 72, 2, 1.0f, 0.92f, 0.8f, 5005},
    {-6.5f, 3.6f, 2.0f, 0.0f, 0.0f, -6.0f, 33.15, 0.7, 0.5f, 6.0f, 120, 4, 1.0f, 0.86f, 0.62f, 5006},
}};

// Passes over each group's lines: wide and faint, then thin.
struct LinePass {
  float lineWidth;
  float brightness;
};
constexpr std::array<LinePass, 2> kPasses{{{3.0f, 0.06f}, {1.0f, 0.45f}}};
constexpr float kQuadBrightness = 0.12f;

// The music fades out from demo 31.5 s, about T = 32.6.
double outroFade(double t) { return 1.0 - clamp01((t - 32.6) * 0.55); }

// Rays and rings in the unit disc of the group's plane; the same layout
// every frame from the group's own seed.
void groupLines(LineBatch& lines, const ClosingGroup& g, double t, float brightness) {
  seedRandom(g.seed);
  for (int k = 0; k < g.rays; ++k) {
    const double a = 2.0 * std::numbers::pi * (k + 0.4 * random01()) / g.rays;
    const double inner = 0.12 + 0.25 * random01();
    const double outer = 0.55 + 0.45 * random01();
    const float shade = float(brightness * (0.4 + 0.6 * random01()));
    const FlagVec3 from{1, float(std::cos(a) * inner), float(std::sin(a) * inner), 0.0f};
    const FlagVec3 to{1, float(std::cos(a) * outer), float(std::sin(a) * outer), 0.0f};
    // Bright at the root, gone at the tip: rays that dissolve outwards.
    lines.segment(from, {shade * g.r, shade * g.g, shade * g.b, 1.0f}, to, {0.0f, 0.0f, 0.0f, 1.0f});
  }
  for (int m = 0; m < g.rings; ++m) {
    const double radius = 0.3 + 0.7 * (m + 1) / g.rings * (0.85 + 0.15 * random01());
    const double wobble = 0.03 * random01();
    const double phase = random01() * 2.0 * std::numbers::pi;
    const float shade = float(brightness * 0.6);
    const LineColour colour{shade * g.r, shade * g.g, shade * g.b, 1.0f};
    lines.beginStrip();
    for (int i = 0; i <= kRingSegments; ++i) {
      const double a = 2.0 * std::numbers::pi * i / kRingSegments;
      const double rr = radius * (1.0 + wobble * std::sin(7.0 * a + phase + t * 2.0));
      lines.stripVertex({1, float(std::cos(a) * rr), float(std::sin(a) * rr), 0.0f}, colour);
    }
  }
}
}  // namespace

void drawClosingEffect(const ClosingLook& look, const EffectFrame& frame) {
  const double t = frame.time;
  if (t <= kClosingEffectStart) return;
  const double progress = (t - kClosingEffectStart - 2.0) * 0.8;
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_TRANSFORM_BIT);
  glMatrixMode(GL_MODELVIEW);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  const double fade = clamp01((t - kClosingEffectStart) * 1.5) * outroFade(t);
  for (const ClosingGroup& g : kGroups) {
    // Zero on the group's accent, then at the group's own share of the rate.
    const double local = (progress + (30.0 - g.accent) * 0.8) * g.rate;
    if (local <= 0.0) continue;
    const double grow = ease(clamp01(local), 2.0);
    const double flash = 1.0 + 2.0 * std::exp(-(t - g.accent) * 6.0);
    const double b = fade * flash * clamp01((t - g.accent) * 5.0) * (1.0 - 0.75 * grow);
    if (b <= 0.0005) continue;
    const float radius = float(g.radius0 + (g.radius1 - g.radius0) * grow);

    glPushMatrix();
    glTranslatef(g.x, g.y, g.z);
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glRotatef(g.tiltX, 1.0f, 0.0f, 0.0f);
    glRotatef(g.tiltY, 0.0f, 1.0f, 0.0f);
    glRotatef(float(g.spin * (t - g.accent)), 0.0f, 0.0f, 1.0f);
    glScalef(radius, radius, radius);
    for (size_t pass = 0; pass < kPasses.size(); ++pass) {
      const float gain = pass == 0 ? look.haloGain : look.lineGain;
      frame.lines.setWidth(kPasses[pass].lineWidth);
      groupLines(frame.lines, g, t, float(b * kPasses[pass].brightness * gain));
      frame.lines.flush();
    }
    glPopMatrix();

    glEnable(GL_TEXTURE_2D);
    bindEffectTexture(frame, kBackgroundPicture);
    const float q = float(b * kQuadBrightness * look.quadGain);
    glColor4f(q * g.r, q * g.g, q * g.b, 1.0f);
    drawBillboard(g.spin * t * 0.5, radius * 0.9, radius * 0.9);
    glPopMatrix();
  }
  glPopAttrib();
}
