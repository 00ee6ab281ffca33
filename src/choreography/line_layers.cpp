#include "choreography/line_layers.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <numbers>

#include "choreography/mesh_layers.h"
#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "effects/closing_effect.h"
#include "effects/effect_frame.h"
#include "effects/line_batch.h"
#include "effects/opening_effect.h"
#include "geometry/mesh_sampling.h"
#include "geometry/point_drift.h"
#include "math/ease.h"
#include "math/matrix4d.h"
#include "math/random.h"

namespace {

// Gold-white: the colour of every line layer, before its brightness.
constexpr LineColour kGold{1.0f, 0.84f, 0.58f, 1.0f};
constexpr LineColour kWhiteGold{1.0f, 0.93f, 0.78f, 1.0f};

// Each line layer draws twice: a wide faint halo, then a thin core. The
// glow pass blooms the core; the halo gives it body where the glow is
// weak (and in the fixed function, which has none). The wire layers' halo
// takes only every third of their faces: wide lines cost the software
// rasteriser three times the pixels, and a halo around every edge of a
// dense mesh would blur into a sheet.
struct LinePass {
  float width;
  float gain;
  int sparseness;  // wire layers: face stride multiplier
};
constexpr std::array<LinePass, 2> kPasses{{{3.0f, 0.22f, 3}, {1.0f, 1.0f, 1}}};

// 0 .. 1 in over `in` seconds from `from`, out over `out` seconds before
// `to`, smoothed.
double fadeWindow(double T, double from, double in, double to, double out) {
  return ease(clamp01((T - from) / in), 1.0) * ease(clamp01((to - T) / out), 1.0);
}

// Layer `number`'s window as the frame's rendition opens it.
const TimeSpan& openSpan(const SceneFrame& frame, int32_t number) {
  return layerWindow(number, frame.rendition.kind()).open;
}

// In and out with the layer's own window.
double fadeWithin(const SceneFrame& frame, int32_t number, double in, double out) {
  const TimeSpan& w = openSpan(frame, number);
  return fadeWindow(frame.T, w.from, in, w.to, out);
}

LineColour scaled(const LineColour& c, double k) {
  const auto f = float(k);
  return {c.r * f, c.g * f, c.b * f, 1.0f};
}

// Where a wire layer puts its mesh, and which faces it takes: every
// `stride`-th face from `phase`, two edges each (the third is the next
// face's), up to the share `faceShare` of each object's faces.
struct WireMesh {
  int scene;  // index into SceneAssets::sceneIndexes
  float x, y, z;
  float scale;
  int stride;
  int phase;
  int firstObject = 0;  // objects before it are left out
};

// The man as the prologue places him; the kneeling figure over him at the
// same size; the faceted man where layer 12 kneels him in.
constexpr WireMesh kManWires{0, 0.0f, -12.0f, 0.0f, 0.1f, 6, 0};
constexpr WireMesh kKneelingWires{2, 0.0f, -12.0f, 0.0f, 0.1f, 8, 2};
constexpr WireMesh kFacetWires{2, 0.0f, -2.0f, 70.0f, 0.3f, 4, 1};
constexpr WireMesh kGhostWires{0, 0.0f, -12.0f, 0.0f, 0.1f, 6, 1};
// The ground's rocks (the land itself, object 0, is left out: from high
// above its grid would read as one bright sheet).
constexpr WireMesh kRockWires{4, 0.0f, 0.0f, 0.0f, 0.5f, 2, 0, 1};

// The drift rates of the second rule for this frame: the arms sway in
// depth against each other, the legs follow slower; each accent kicks
// them.
struct DriftRates {
  double a, b, c;
};
DriftRates bodyDrift(double T, double depth) {
  const double kick = 1.0 + 1.5 * accentFlash(T);
  return {depth * kick * std::sin(1.3 * T), depth * kick * std::sin(1.3 * T + 2.1),
          depth * (0.6 + 0.4 * std::sin(0.7 * T))};
}

// A bend applied to every point a layer draws; nothing when the rendition
// leaves its lines undrifted.
struct Bend {
  enum class Rule { none, a, b } rule = Rule::none;
  DriftRates rates{};

  void operator()(FlagVec3& p) const {
    if (rule == Rule::b) driftPointB(p, rates.a, rates.b, rates.c);
    if (rule == Rule::a) driftPointA(p, rates.a, rates.b, rates.c);
  }
};

Bend bendFor(const SceneFrame& frame, Bend::Rule rule, DriftRates rates) {
  if (!frame.rendition.driftsLines()) return {};
  return {rule, rates};
}

constexpr float kTowardsEye = 0.015f;

// Adds the chosen faces' edges of `wire` to the batch, shaded per face so
// the cage shimmers instead of reading as one flat net.
void addFaceWires(const SceneFrame& frame, LineBatch& lines, const WireMesh& wire, double faceShare, const Bend& bend,
                  const LineColour& colour, int sparseness = 1) {
  const MeshScene* scene = frame.app.scene(frame.assets.sceneIndexes[size_t(wire.scene)]);
  if (scene == nullptr) return;
  MeshDrawState placement;
  placement.translate = FlagVec3{1, wire.x, wire.y, wire.z};
  placement.scale = FlagVec3{1, wire.scale, wire.scale, wire.scale};
  const double T = frame.T;
  const FlagVec3 eye = frame.app.camera.eye;
  for (int o = wire.firstObject; o < scene->objectCount(); ++o) {
    Matrix4d matrix;
    objectMatrix(*scene, placement, o, frame.animationTime, matrix);
    const int faces = int(scene->object(o)->faceCount() * clamp01(faceShare));
    for (int f = wire.phase; f < faces; f += wire.stride * sparseness) {
      FlagVec3 a, b, c;
      if (!faceVertices(*scene, o, f, matrix, a, b, c)) break;
      for (FlagVec3* p : {&a, &b, &c}) {
        bend(*p);
        // A little towards the eye, so the wires win the depth test
        // against their own faces and still hide behind nearer meshes.
        *p = *p + (eye - *p) * kTowardsEye;
      }
      // A slow wave of light running along the face list.
      const double shimmer = 0.55 + 0.45 * std::sin(0.021 * f + 2.3 * T + o);
      const LineColour shade = scaled(colour, shimmer);
      lines.segment(a, b, shade);
      lines.segment(b, c, shade);
    }
  }
}

// Runs `add` once per pass into the batch at the pass's width, brightness
// `brightness` times the pass's gain, and draws each pass. `add` takes the
// batch, the brightness and the pass's sparseness.
template <typename Add>
void drawPasses(double brightness, Add add) {
  if (brightness <= 0.001) return;
  LineBatch& lines = sceneLineBatch();
  for (const LinePass& pass : kPasses) {
    lines.setWidth(pass.width);
    add(lines, brightness * pass.gain, pass.sparseness);
    lines.flush();
  }
}

EffectFrame effectFrame(SceneFrame& frame) {
  return EffectFrame{.time = frame.T,
                     .textureBase = 0,
                     .app = frame.app,
                     .lines = sceneLineBatch(),
                     .outlines = frame.assets.outlinePaths};
}

// Layer 10's segments.
constexpr int kSwungSegments = 180;
constexpr uint32_t kSwungSeed = 10010;
constexpr int kSurfaceStride = 5;

// Layer 11's streams: a section of each path runs from its root into the
// sky and round again.
constexpr int kStreamSamples = 8;
constexpr uint32_t kStreamSeed = 11011;

struct Stream {
  double tail, head;  // path parameter
};
Stream streamAt(int n, double since, double speed, double phase, double length) {
  const double lap = (n - 1) + length;
  const double head = std::fmod(since * speed + phase * lap, lap);
  return {std::max(0.0, head - length), std::min(double(n - 1), head)};
}

// One stream: a polyline of kStreamSamples points along the section,
// dark at the tail and bright at the head. `place` maps a path point
// into the world.
template <typename Place>
void addStream(LineBatch& lines, const SplinePath& path, Stream s, const Bend& bend, const LineColour& colour,
               Place place) {
  if (s.head <= s.tail) return;
  lines.beginStrip();
  for (int j = 0; j < kStreamSamples; ++j) {
    const double u = double(j) / (kStreamSamples - 1);
    FlagVec3 p;
    path.evaluate(float(s.tail + (s.head - s.tail) * u), p);
    p = place(p);
    bend(p);
    lines.stripVertex(p, scaled(colour, 0.1 + 0.9 * u * u));
  }
}

// The traced outlines laid out flat in the sky over the ground, where the
// camera's descent after 25 s passes through them: the centre of each
// picture and world units per picture pixel.
struct OutlinePlace {
  int set;
  float x, y, z;
  float scale;
};
constexpr std::array<OutlinePlace, 3> kOutlinePlaces{{
    {5, -4.0f, 0.0f, 52.0f, 0.08f},    // horse
    {0, -30.0f, 20.0f, 48.0f, 0.06f},  // cardinal
    {1, 22.0f, -18.0f, 46.0f, 0.06f},  // flower
}};
constexpr OutlinePlace kEarlyPlace{4, 0.0f, 0.0f, 12.0f, 0.02f};  // drovtrace

void addOutlineStreams(const SceneFrame& frame, LineBatch& lines, const OutlinePlace& where, const Bend& bend,
                       const LineColour& colour) {
  if (size_t(where.set) >= frame.assets.outlinePaths.size()) return;
  const auto place = [&where](const FlagVec3& p) {
    return FlagVec3{1, where.x + p.x * where.scale, where.y - p.y * where.scale, where.z};
  };
  for (const SplinePath& path : frame.assets.outlinePaths[size_t(where.set)]) {
    const int n = std::min(path.count, int(path.points.size()));
    const double speed = 0.5 + random01();
    const double phase = random01();
    if (n <= 10) continue;
    addStream(lines, path, streamAt(n, frame.T, speed * (n - 1) / 2.0, phase, 0.5 * (n - 1)), bend, colour, place);
  }
}
}  // namespace

LineBatch& sceneLineBatch() {
  static LineBatch batch(16384);
  return batch;
}

double accentFlash(double T) {
  double flash = 0.0;
  for (double at : kAccents)
    if (T >= at) flash = std::max(flash, std::exp(-(T - at) * 6.0));
  return flash;
}

StreamChoice streamsAt(double T) { return {T<27.0, T> 24.8 && T < 26.5, T < 17.0}; }

void drawBodyWires(SceneFrame& frame) {
  const double T = frame.T;
  // Cut in on the hit, then settling to a faint glow; out before 20.
  const double b = 0.16 * fadeWithin(frame, 5, 0.05, 1.2) * (1.0 + 4.0 * accentFlash(T));
  const Bend bend = bendFor(frame, Bend::Rule::b, bodyDrift(T, 1.4));
  drawPasses(b, [&](LineBatch& lines, double k, int sparse) {
    addFaceWires(frame, lines, kManWires, 1.0, bend, scaled(kGold, k), sparse);
  });
}

void drawKneelingWires(SceneFrame& frame) {
  const double T = frame.T;
  // From the cut at 12.3; gone for the two long swells' gap, back while
  // the camera looks down, out with the ground.
  const double b = 0.12 * fadeWindow(T, 12.3, 0.05, openSpan(frame, 6).to, 2.0) * (1.0 + 3.0 * accentFlash(T));
  drawPasses(b, [&](LineBatch& lines, double k, int sparse) {
    addFaceWires(frame, lines, kKneelingWires, 1.0, Bend{}, scaled(kWhiteGold, k), sparse);
  });
}

void drawSwungSegments(SceneFrame& frame) {
  const double T = frame.T;
  const std::span<const FlagVec3> roots = frame.assets.surfacePoints;
  const double grow = ease(clamp01((T - 8.0) * 0.5), 1.0);
  const double b = 0.35 * fadeWithin(frame, 10, 1.0, 1.0) * (1.0 + 2.0 * accentFlash(T));
  const Bend bend = bendFor(frame, Bend::Rule::b, bodyDrift(T, 0.9));
  drawPasses(b, [&](LineBatch& lines, double k, int) {
    seedRandom(kSwungSeed);
    for (int i = 0; i < kSwungSegments; ++i) {
      const size_t at = size_t(i * kSurfaceStride);
      const double length = (0.4 + 1.2 * random01()) * grow;
      const double phase = random01() * 2.0 * std::numbers::pi;
      const double rate = 0.6 + 0.8 * random01();
      if (at >= roots.size()) continue;
      // Each segment points up out of the figure's plane, swinging about
      // its root like a stalk in the wind.
      FlagVec3 arm{1, 0.0f, 0.0f, float(length)};
      rotateEuler(arm, 0.7 * std::sin(rate * T + phase), 0.7 * std::cos(0.8 * rate * T + phase), phase + 0.3 * T);
      FlagVec3 root = roots[at];
      FlagVec3 tip = root + arm;
      bend(root);
      bend(tip);
      lines.segment(root, scaled(kGold, k), tip, scaled(kWhiteGold, 0.2 * k));
    }
  });
}

void drawStreams(SceneFrame& frame) {
  const double T = frame.T;
  const StreamChoice run = streamsAt(T);
  const double drop = 1.0 + 2.5 * accentFlash(T);
  const Bend bend = bendFor(frame, Bend::Rule::a, {1.5 * std::sin(0.9 * T), -1.5 * std::sin(0.9 * T + 1.0), 1.2});
  if (run.curvePaths) {
    // Cut in on the drop; out over the last second.
    const double from = openSpan(frame, 11).from;
    const double b = 0.07 * fadeWindow(T, from, 0.05, 27.0, 1.2) * drop;
    drawPasses(b, [&](LineBatch& lines, double k, int) {
      seedRandom(kStreamSeed);
      for (const SplinePath& path : frame.assets.curvePaths) {
        const int n = std::min(path.count, int(path.points.size()));
        const double speed = (n - 1) * (0.3 + 0.4 * random01());
        const double phase = random01();
        if (n < 2) continue;
        addStream(lines, path, streamAt(n, T - from, speed, phase, 0.4 * (n - 1)), bend, scaled(kGold, k),
                  [](const FlagVec3& p) { return p; });
      }
    });
  }
  if (run.outlines) {
    const double b = 0.35 * fadeWindow(T, 24.8, 0.4, 26.5, 0.5);
    drawPasses(b, [&](LineBatch& lines, double k, int) {
      seedRandom(kStreamSeed + 1);
      for (const OutlinePlace& where : kOutlinePlaces)
        addOutlineStreams(frame, lines, where, bend, scaled(kWhiteGold, k));
    });
  }
  // Inside the layer's window (from 18.05) this one is always closed.
  if (run.early) {
    drawPasses(0.3, [&](LineBatch& lines, double k, int) {
      seedRandom(kStreamSeed + 2);
      addOutlineStreams(frame, lines, kEarlyPlace, bend, scaled(kGold, k));
    });
  }
}

void drawOpening(SceneFrame& frame) { drawOpeningEffect(frame.rendition.openingLook(), effectFrame(frame)); }

void drawFacetWires(SceneFrame& frame) {
  const double T = frame.T;
  // In with man_gon, faces following his growth; out with him.
  const double from = openSpan(frame, 18).from;
  const double share = clamp01((T - openSpan(frame, 12).from) * 0.35);
  const double facets = 0.08 * fadeWindow(T, from, 1.0, openSpan(frame, 12).to, 1.3);
  // The rocks glow from the drop's climax on and fade with the ground.
  const double rocks = 0.06 * fadeWindow(T, from, 2.0, openSpan(frame, 13).to, 1.2);
  drawPasses(1.0, [&](LineBatch& lines, double k, int sparse) {
    if (facets * k > 0.0005)
      addFaceWires(frame, lines, kFacetWires, share, Bend{}, scaled(kWhiteGold, facets * k), sparse);
    if (rocks * k > 0.0005) addFaceWires(frame, lines, kRockWires, 1.0, Bend{}, scaled(kGold, rocks * k), sparse);
  });
}

void drawClosingAndWires(SceneFrame& frame) {
  const double T = frame.T;
  if (T > kClosingEffectStart) drawClosingEffect(frame.rendition.closingLook(), effectFrame(frame));
  // Early: the man's skin of wires grows with him and goes under the
  // body wires after the hit. Late: it stays when he shrinks away at 27.6
  // and dissolves with the outro.
  double b = 0.0, share = 1.0;
  const LayerWindow& window = layerWindow(20, frame.rendition.kind());
  if (window.alsoOpen.contains(T)) {
    share = baseFaceFraction(T);
    b = 0.05 * clamp01(T - 6.0) * (1.0 - 0.6 * clamp01((T - 9.2) * 2.0)) * (1.0 - clamp01((T - 20.2)));
  } else {
    b = 0.09 * clamp01((T - window.open.from) * 2.0) * (1.0 - clamp01((T - 31.0) * 0.5));
  }
  if (b <= 0.001 || share <= 0.0) return;
  LineBatch& lines = sceneLineBatch();
  lines.setWidth(T > 23.5 ? 2.0f : 1.0f);
  addFaceWires(frame, lines, kGhostWires, share, Bend{}, scaled(kGold, b));
  lines.flush();
}
