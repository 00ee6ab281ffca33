#include "effects/opening_effect.h"

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

// The music: the first bass tick at 6.5 s, beats every half second from
// 6.0, the first hit at 9.2.
constexpr double kFirstTick = 6.5;
constexpr double kBeatStart = 6.0;
constexpr double kBeat = 0.5;
constexpr double kFirstHit = 9.2;

// Textured quads; alpha = (before * (1 - f) + after * f) with f the
// fade-in term of the first tick, so the two kinds trade places there.
struct OpeningQuad {
  int32_t texture;
  bool additive;
  float x, y, z;
  float size;
  float spin;  // degrees per second
  float r, g, b;
  float before, after;
  double appear;  // fades in over a second from here
};

// Under the opening camera (looking down -z from z = 1.84 at about
// (-0.17, 2.5)) screen up is +x and screen right is -y.
constexpr std::array<OpeningQuad, 4> kQuads{{
    {kHorsePicture, false, 0.02f, 2.05f, -0.05f, 0.62f, 0.0f, 0.9f, 0.8f, 0.7f, 0.08f, 0.0f, 2.6},  // horse ghost
    {kBlobPicture, true, -0.15f, 2.5f, -0.4f, 1.6f, 3.0f, 1.0f, 0.72f, 0.4f, 0.0f, 0.22f, 6.0},     // warm light
    {kWingPicture, false, 0.45f, 3.05f, 0.0f, 0.45f, -4.0f, 0.9f, 0.86f, 0.75f, 0.3f, 0.12f, 0.8},  // feather
    {kCircuitPicture, true, -0.2f, 2.4f, -0.3f, 1.3f, 0.0f, 1.0f, 0.78f, 0.42f, 0.05f, 0.4f, 5.0},  // circuit board
}};

// One traced picture: where its outlines lie and when the pen starts.
struct OutlineGroup {
  int set;        // index into the part's outline arrays
  float x, y, z;  // world centre
  float scale;    // world units per picture pixel
  float turn;     // degrees about z; -90 stands the picture upright on screen
  double appear;  // T at which tracing starts
  double trace;   // seconds a ribbon's head takes along a whole path
  float r, g, b;  // gold-white tints
};

constexpr std::array<OutlineGroup, 6> kGroups{{
    {0, 0.36f, 3.0f, 0.0f, 0.0021f, -90.0f, 0.4, 2.2, 1.0f, 0.86f, 0.62f},    // cardinal
    {1, -0.62f, 3.05f, 0.0f, 0.0019f, -90.0f, 1.6, 2.4, 1.0f, 0.92f, 0.72f},  // flower
    {5, 0.02f, 2.05f, 0.0f, 0.0024f, -90.0f, 2.6, 2.6, 0.95f, 0.9f, 0.8f},    // horse
    {2, 0.62f, 1.75f, -0.1f, 0.0018f, -90.0f, 3.8, 2.2, 1.0f, 0.8f, 0.55f},   // cave
    {3, -0.2f, 2.4f, -0.3f, 0.0052f, -90.0f, 6.5, 1.5, 1.0f, 0.82f, 0.5f},    // circuit board
    {4, -0.05f, 2.75f, 0.05f, 0.0020f, -90.0f, 5.0, 2.4, 1.0f, 0.9f, 0.75f},  // signature
}};

constexpr int kRibbonSamples = 20;
// Picked so that both buds stay in the opening camera's view while it hovers.
constexpr uint32_t kStalkSeed = 2917;
constexpr uint32_t kRibbonSeed = 3000;
constexpr double kRibbonWidth = 6.0;  // picture pixels, half across

// The two passes over the ribbons: a wide faint halo, then a thin core.
struct RibbonPass {
  float widthScale;
  float brightness;
  float lineWidth;
};
constexpr std::array<RibbonPass, 2> kPasses{{{1.8f, 0.08f, 3.0f}, {1.0f, 0.45f, 1.0f}}};

double frac(double x) { return x - std::floor(x); }

// Brightness of everything the opening draws: in with the pen, a pulse on
// every beat once the bass starts, a flare at the hit, then out.
double musicGain(double t) {
  const double beat = t >= kBeatStart ? std::exp(-4.0 * frac((t - kBeatStart) / kBeat)) : 0.0;
  const double flare = t > kFirstHit ? 1.6 * std::exp(-(t - kFirstHit) * 4.0) : 0.0;
  const double out = 1.0 - 0.85 * clamp01((t - kFirstHit) * 1.25);
  return (1.0 + 0.45 * beat * clamp01(t - kBeatStart) + flare) * out;
}

void setBlend(bool additive) { glBlendFunc(GL_SRC_ALPHA, additive ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA); }

void drawQuads(const OpeningLook& look, const EffectFrame& frame) {
  const double t = frame.time;
  const double f = clamp01((t - kFirstTick) * 3.55);
  const double out = 1.0 - clamp01((t - kFirstHit) * 1.25);
  for (const OpeningQuad& q : kQuads) {
    const double alpha = (q.before * (1.0 - f) + q.after * f) * clamp01(t - q.appear) * out * look.quadGain;
    if (alpha <= 0.001) continue;
    setBlend(q.additive);
    bindEffectTexture(frame, q.texture);
    glColor4f(q.r, q.g, q.b, float(alpha));
    glPushMatrix();
    glTranslatef(q.x, q.y, q.z);
    drawBillboard(q.spin * t, q.size, q.size);
    glPopMatrix();
  }
}

FlagVec3 placed(const OutlineGroup& g, float c, float s, const FlagVec3& p) {
  const float x = p.x * g.scale, y = p.y * g.scale;
  return {1, g.x + c * x - s * y, g.y + s * x + c * y, g.z};
}

// Where a path's ribbon lies at time t: a section of 70 % of the
// path whose head runs from the path's start to beyond its end and comes
// round again; the first time round it starts from nothing, like a pen.
struct Section {
  double tail, head;
};
Section section(int n, double since, double trace, double speedScale) {
  const double length = 0.7 * (n - 1);
  const double speed = (n - 1) / trace * speedScale;
  const double lap = (n - 1) + length;
  const double head = std::fmod(since * speed, lap);
  return {std::max(0.0, head - length), std::min(double(n - 1), head)};
}

// One ribbon: both rails and the rungs across, each sample's width taken
// from the path's direction there, narrowing and dimming towards the tail.
void ribbon(LineBatch& lines, const OutlineGroup& g, const SplinePath& path, Section sec, double width, double wobble,
            double t, const LineColour& colour) {
  const float c = float(std::cos(g.turn * std::numbers::pi / 180.0)),
              s = float(std::sin(g.turn * std::numbers::pi / 180.0));
  std::array<FlagVec3, kRibbonSamples> left, right;
  std::array<LineColour, kRibbonSamples> shade;
  for (int j = 0; j < kRibbonSamples; ++j) {
    const double u = double(j) / (kRibbonSamples - 1);  // 0 at the tail, 1 at the head
    const float at = float(sec.tail + (sec.head - sec.tail) * u);
    FlagVec3 p, q;
    path.evaluate(at, p);
    path.evaluate(at + 0.05f, q);
    FlagVec3 dir = q - p;
    normalize(dir);
    const float w = float(width * std::sqrt(u) * (1.0 + 0.35 * std::sin(t * 1.7 + wobble + j * 0.6)));
    const FlagVec3 across{1, -dir.y * w, dir.x * w, 0.0f};
    left[size_t(j)] = placed(g, c, s, p + across);
    right[size_t(j)] = placed(g, c, s, p - across);
    const float k = float(0.15 + 0.85 * u * u);
    shade[size_t(j)] = {colour.r * k, colour.g * k, colour.b * k, colour.a};
  }
  for (auto* rail : {&left, &right}) {
    lines.beginStrip();
    for (int j = 0; j < kRibbonSamples; ++j) lines.stripVertex((*rail)[size_t(j)], shade[size_t(j)]);
  }
  for (int j = 0; j < kRibbonSamples; ++j) {
    const LineColour& k = shade[size_t(j)];
    lines.segment(left[size_t(j)], right[size_t(j)], {k.r * 0.6f, k.g * 0.6f, k.b * 0.6f, k.a});
  }
}

void drawRibbons(const OpeningLook& look, const EffectFrame& frame) {
  const double t = frame.time;
  const double gain = musicGain(t);
  for (size_t pass = 0; pass < kPasses.size(); ++pass) {
    const RibbonPass& rp = kPasses[pass];
    const float passGain = rp.brightness * (pass == 0 ? look.haloGain : look.ribbonGain);
    // The same seed for both passes: each path keeps its width and pace.
    seedRandom(kRibbonSeed);
    frame.lines.setWidth(rp.lineWidth);
    for (const OutlineGroup& g : kGroups) {
      if (size_t(g.set) >= frame.outlines.size()) continue;
      const double b = clamp01((t - g.appear) * 1.2) * gain * passGain;
      for (const SplinePath& path : frame.outlines[size_t(g.set)]) {
        const int n = std::min(path.count, int(path.points.size()));
        if (n <= 10) continue;
        const double width = kRibbonWidth * rp.widthScale * (0.6 + 0.8 * random01());
        const double wobble = random01() * 2.0 * std::numbers::pi;
        const double pace = 0.8 + 0.4 * random01();
        if (b <= 0.0005) continue;
        const LineColour colour{float(g.r * b), float(g.g * b), float(g.b * b), 1.0f};
        ribbon(frame.lines, g, path, section(n, t - g.appear, g.trace, pace), width, wobble, t, colour);
      }
    }
    frame.lines.flush();
  }
}
}  // namespace

void drawOpeningEffect(const OpeningLook& look, const EffectFrame& frame) {
  if (frame.time > kOpeningEffectEnd) return;
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT | GL_LINE_BIT | GL_TRANSFORM_BIT);
  glMatrixMode(GL_TEXTURE);
  glPushMatrix();
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glEnable(GL_BLEND);
  glEnable(GL_TEXTURE_2D);

  drawQuads(look, frame);

  setBlend(true);
  seedRandom(kStalkSeed);
  drawStalk(look.stalk, frame, frame.time);
  drawStalk(look.stalk, frame, frame.time - 0.6);

  glDisable(GL_TEXTURE_2D);
  drawRibbons(look, frame);

  glMatrixMode(GL_TEXTURE);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  glPopAttrib();
}
