#include "choreography/point_layers.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "math/ease.h"
#include "math/random.h"
#include "passes/gl_state_helpers.h"

namespace {
constexpr double kTwinkleHalfSize = 0.03;
constexpr double kDriftHalfSize = 0.05;
constexpr float kTwinkleRed = 0.1f;
constexpr float kDriftRed = 0.15f;

void seedLayout(uint32_t seed) {
  seedRandom(seed);
  for (int k = 0; k < 100; ++k) random01();
}

// Both layers lay their sprites over the picture like ink: straight alpha
// blending, tested against the meshes' depth but writing none.
void drawSprites(SceneFrame& frame, const std::vector<PointSprite>& sprites, double halfSize, float red) {
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_FALSE);
  glDisable(GL_CULL_FACE);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  bindTextureNumber(frame.app, kBlobAlphaPicture);
  const FacingAxes axes = facingAxes(frame.app.camera);
  glBegin(GL_QUADS);
  for (const PointSprite& s : sprites) {
    glColor4f(red, 0.0f, 0.0f, s.alpha);
    // The emitter scales the axes in place: hand it copies.
    FlagVec3 right = axes.right;
    FlagVec3 up = axes.up;
    emitBillboardQuad(halfSize, halfSize, s.centre, right, up);
  }
  glEnd();
  glPopAttrib();
}
}  // namespace

int pointCount(double rate, double fade, std::size_t available) {
  const double limit = std::min(rate * fade, double(kMostPoints));
  const int count = limit > 0.0 ? int(std::ceil(limit)) : 0;
  return std::min(count, int(std::min<std::size_t>(available, kMostPoints)));
}

double twinkleFade(double T) { return clamp01(T - 6.0); }

void twinklingLayout(std::span<const FlagVec3> points, double T, std::vector<PointSprite>& sprites) {
  seedLayout(32000);
  const double fade = twinkleFade(T);
  const int count = pointCount(1300.0, fade, points.size());
  sprites.assign(static_cast<std::size_t>(count), PointSprite{});
  for (int k = 0; k < count; ++k) {
    FlagVec3 p = points[static_cast<std::size_t>(k)];
    p.x += float(0.1 * std::sin(random01() * T));
    p.y += float(0.1 * std::sin(random01() * T));
    const double offset = random01() * 100.0;
    const double rate = random01() + 1.0;
    const double phase = offset + rate * T * 0.1;
    const double w = 10.0 * (phase - std::trunc(phase));
    p.z += float(w);
    // Each point rises through ten units and is brightest half-way.
    const double brightness = clamp01(std::sin(w * 0.3141592653589793)) * fade;
    sprites[static_cast<std::size_t>(k)] = PointSprite{p, float(brightness)};
  }
}

std::vector<PointSprite> twinklingLayout(std::span<const FlagVec3> points, double T) {
  std::vector<PointSprite> sprites;
  twinklingLayout(points, T, sprites);
  return sprites;
}

double driftFade(double T) { return clamp01((T - 11.0) * 0.5) * (1.0 - clamp01(T - 20.0)); }

void driftingLayout(std::span<const FlagVec3> points, double T, std::vector<PointSprite>& sprites) {
  seedLayout(33002);
  const double fade = driftFade(T);
  const int count = pointCount(1800.0, fade, points.size());
  sprites.clear();
  for (int j = 0; j < count; ++j) {
    // Later points start later and move slower: the cloud peels off in order.
    const double q = ease(clamp01((0.001 * j + 0.2) * (T - 11.3) * 0.23), 1.0);
    if (q <= 0.001) continue;
    FlagVec3 p = points[static_cast<std::size_t>(j)];
    p.z += float(1.1 * std::sin(0.2 * T + 0.002 * j) + 1.8);
    p.y += float(1.1 * std::sin(0.34 * T + 0.004 * j));
    p = p * float(2.0 * (2.0 - q));
    sprites.push_back(PointSprite{p, float(q * fade)});
  }
}

std::vector<PointSprite> driftingLayout(std::span<const FlagVec3> points, double T) {
  std::vector<PointSprite> sprites;
  driftingLayout(points, T, sprites);
  return sprites;
}

FacingAxes facingAxes(const CameraView& camera) {
  FlagVec3 forward = camera.centre - camera.eye;
  normalize(forward);
  FlagVec3 right = cross(camera.up, forward);
  normalize(right);
  // The camera's own up need not be square to the view; this one is.
  FlagVec3 up = cross(forward, right);
  normalize(up);
  return {right, up};
}

namespace {
// The frames' sprite storage: filled anew every frame, allocated once
// (layers are drawn on the rendering thread only).
std::vector<PointSprite>& frameSprites() {
  static std::vector<PointSprite> sprites = [] {
    std::vector<PointSprite> reserved;
    reserved.reserve(kMostPoints);
    return reserved;
  }();
  return sprites;
}
}  // namespace

void drawTwinklingPoints(SceneFrame& frame) {
  std::vector<PointSprite>& sprites = frameSprites();
  twinklingLayout(frame.assets.surfacePoints, frame.T, sprites);
  drawSprites(frame, sprites, kTwinkleHalfSize, kTwinkleRed);
}

void drawDriftingPoints(SceneFrame& frame) {
  std::vector<PointSprite>& sprites = frameSprites();
  driftingLayout(frame.assets.surfacePoints, frame.T, sprites);
  drawSprites(frame, sprites, kDriftHalfSize, kDriftRed);
}
