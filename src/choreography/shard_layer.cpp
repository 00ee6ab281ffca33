#include "choreography/shard_layer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "geometry/mesh_sampling.h"
#include "math/ease.h"
#include "passes/gl_state_helpers.h"

namespace {
// The shards' glass: the cold blue of the caustics, a little violet.
constexpr float kShardRed = 0.1f;
constexpr float kShardGreen = 0.13f;
constexpr float kShardBlue = 0.28f;
}  // namespace

void drawDarkeningQuad(SceneFrame& frame) {
  glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_TEXTURE_BIT | GL_CURRENT_BIT);
  glEnable(GL_TEXTURE_2D);
  bindTextureNumber(frame.app, kShadowPicture);
  glEnable(GL_BLEND);
  // Subtracts the picture's brightness: a shadow cast over the scene.
  glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
  glColor3f(1, 1, 1);
  const FlagVec3 centre{1, -27.6f, -40.0f, 45.5f};
  FlagVec3 right{1, 1, 0, 0};
  FlagVec3 up{1, 0, 1, 0};
  glBegin(GL_QUADS);
  emitBillboardQuad(51.0, 51.0, centre, right, up);
  glEnd();
  glPopAttrib();
}

namespace {
// Each shard is its face drawn a fifth smaller about its own middle, so
// dark cracks run between them; faces turned up to the sky catch more
// light than those seen edge-on, which gives the glass its facets.
constexpr float kShardShrink = 0.8f;

void emitShard(FlagVec3 a, FlagVec3 b, FlagVec3 c, double brightness) {
  a = shardCorner(a);
  b = shardCorner(b);
  c = shardCorner(c);
  const FlagVec3 middle = (a + b + c) * (1.0f / 3.0f);
  FlagVec3 normal = cross(b - a, c - a);
  normalize(normal);
  const double light = brightness * (0.45 + 0.55 * std::fabs(normal.z));
  glColor3d(kShardRed * light, kShardGreen * light, kShardBlue * light);
  for (const FlagVec3* v : {&a, &b, &c}) {
    const FlagVec3 p = middle + (*v - middle) * kShardShrink;
    glVertex3f(p.x, p.y, p.z);
  }
}
}  // namespace

void drawShards(SceneFrame& frame) {
  const double brightness = shardBrightness(frame.T);
  const Scene3ds* man = frame.app.scene(frame.assets.sceneIndexes[0]);
  if (man == nullptr || brightness <= 0.0) return;
  // The mesh as it stands in its own units, not the scene's placement of it:
  // the shards are the man made giant.
  const MeshDrawState unplaced;
  glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_CULL_FACE);
  // Glass that glows: added onto the picture, no depth written.
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);
  glDepthMask(GL_FALSE);
  glBegin(GL_TRIANGLES);
  for (int object = 0; object < man->objectCount(); ++object) {
    Matrix4d matrix;
    objectMatrix(*man, unplaced, object, frame.animationTime, matrix);
    const int faces = man->object(object)->faceCount();
    for (int face = 0; face < faces; ++face) {
      if (shardProgress(frame.T, face) <= kLeastShardProgress) continue;
      FlagVec3 a, b, c;
      if (!faceVertices(*man, object, face, matrix, a, b, c)) continue;
      emitShard(a, b, c, brightness);
    }
  }
  glEnd();
  glPopAttrib();
}

double shardDelay(double T, int face) { return 3.0 * std::sin(7.0 * T + 0.039 * face); }

double shardProgress(double T, int face) { return std::max(0.0, (T - 20.5 - shardDelay(T, face)) * 0.22); }

double shardBrightness(double T) {
  double b = 0.6;
  if (T > 23.5) b *= 8.0 / ((T - 23.5) * 7.0 + 1.0) + 1.0;
  b = std::min(b, 1.1);
  return b * (1.0 - clamp01(T - 24.0)) * 0.5;
}

FlagVec3 shardCorner(const FlagVec3& v) { return v * 0.65f + FlagVec3{1, 5.6f, -80.0f, 38.0f}; }

void drawShardLayer(SceneFrame& frame) { frame.rendition.drawShardLayer(frame); }
