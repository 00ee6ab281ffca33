#include "choreography/shard_layer.h"

#include <GL/gl.h>

#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "effects/billboard.h"
#include "passes/gl_state_helpers.h"

namespace {
constexpr int kShadowPicture = 40;

void drawLargeQuad(SceneFrame& frame) {
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
}  // namespace

void drawShardsOrQuad(SceneFrame& frame) {
  if (frame.rendition.kind() == RenditionKind::fixedFunction) drawLargeQuad(frame);
}
