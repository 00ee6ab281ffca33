#include "passes/shadow_pass.h"

#include <GL/gl.h>

#include <algorithm>

#include "demo/demo_app.h"
#include "effects/look_at_camera.h"
#include "gpu/offscreen_target.h"
#include "gpu/pass_bracket.h"
#include "passes/gl_state_helpers.h"
#include "passes/projection_pass.h"

namespace {

// The depth pass copies into a texture made earlier, maybe smaller than the
// pass (the demo makes it 16 square and passes 32): a copy past its edge
// would write outside the texture, so the copy stops at its size. Reads
// the bound texture.
PassSize depthCopySize(int depthSize, const OffscreenTarget& target) {
  GLint width = 0, height = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  return {std::min({depthSize, int(width), target.pbuffer.width}),
          std::min({depthSize, int(height), target.pbuffer.height})};
}

void loadPerspectiveProjection(const DemoApp& app) {
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  multiplyDemoPerspective(app);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void cullBackFaces() {
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
}

}  // namespace

PassSize shadowPassViewport(int32_t resolutionMode, int width, const PictureLayout& picture) {
  if (resolutionMode >= 0 && width < 601 && width != picture.width) return {width, width};
  const CopySize size = resolutionModeSize(resolutionMode < 0 ? -1 : resolutionMode, width, picture);
  return {size.width, size.height};
}

PassSize shadowPassCopySize(int32_t resolutionMode, int width, const PictureLayout& picture) {
  if (width != 640 && width != picture.width) return {width, width};
  if (resolutionMode == 0 || resolutionMode > 3) return {width, width};
  const CopySize size = resolutionModeSize(resolutionMode < 0 ? -1 : resolutionMode, width, picture);
  return {size.width, size.height};
}

namespace {

void depthPass(DemoApp& app, const OffscreenTarget& target, SceneCallback depthCallback, int depthTexture,
               int depthSize, int slot, const CameraView& light) {
  CgShaderSet& cg = app.cgShaders;
  PassDescriptor pass{PassDescriptor::Surface::Offscreen, depthSize, depthSize, GL_DEPTH_BUFFER_BIT};

  cullBackFaces();
  beginPass(target, pass);
  cullBackFaces();
  glDisable(GL_BLEND);
  glPushMatrix();
  loadPerspectiveProjection(app);
  glDisable(GL_LIGHTING);
  glPolygonOffset(5.0f, 5.0f);
  glEnable(GL_POLYGON_OFFSET_FILL);
  // A fresh offscreen context starts with the depth test off, and without
  // it nothing would reach the depth buffer in the first frame.
  glEnable(GL_DEPTH_TEST);
  multiplyLookAt(light);
  glDisable(GL_TEXTURE_2D);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  cg.bindProgram(slot);
  cg.bindProgram(slot + 1);
  // Only a vertex program at the slot places the depth pass; anything else
  // would leave the stage running the last pair's program.
  if (slot >= 0 && slot < CgShaderSet::kSlots && cg.programs[size_t(slot)].profile == kCgProfileVertex) {
    cg.enableVertexProfile();
  }
  cg.disableFragmentProfile();
  app.depthPassActive = true;
  glPushMatrix();
  cg.setModelViewProjection(slot, kModelViewProjIndex);
  if (depthCallback != nullptr) depthCallback(app);
  glPopMatrix();
  cg.disableVertexProfile();
  glEnable(GL_TEXTURE_2D);
  bindTextureNumber(app, depthTexture);
  // Only what the callback drew goes into the depth texture.
  if (depthCallback != nullptr) {
    const PassSize copy = depthCopySize(depthSize, target);
    pass.copyTexture = textureTable(app).name(depthTexture);
    pass.copyWidth = copy.width;
    pass.copyHeight = copy.height;
  }
  endPass(pass);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glPopMatrix();
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void cameraPass(DemoApp& app, const OffscreenTarget& target, SceneCallback sceneCallback, int slot,
                const CameraView& camera, const CameraView& light, bool toTexture, int width, int colourTexture) {
  CgShaderSet& cg = app.cgShaders;
  PassDescriptor pass{PassDescriptor::Surface::Window};
  pass.clear = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
  if (toTexture) {
    const PassSize viewport = shadowPassViewport(app.resolutionMode, width, app.picture);
    const PassSize copy = shadowPassCopySize(app.resolutionMode, width, app.picture);
    pass.surface = PassDescriptor::Surface::Offscreen;
    pass.viewportWidth = viewport.width;
    pass.viewportHeight = viewport.height;
    pass.copyTexture = textureTable(app).name(colourTexture);
    pass.copyWidth = copy.width;
    pass.copyHeight = copy.height;
  }

  beginPass(target, pass);
  glDisable(GL_BLEND);
  cg.bindProgram(slot);
  cg.bindProgram(slot + 1);
  cullBackFaces();
  glPushMatrix();
  loadPerspectiveProjection(app);
  glEnable(GL_DEPTH_TEST);
  multiplyLookAt(camera);
  loadLightTextureMatrix(app, light);
  cg.setTextureMatrixParameter(slot, kModelViewLightProjIndex);
  // The pair holds the light's matrix now; the layers start from identity.
  resetTextureMatrix();
  glDisable(GL_TEXTURE_2D);
  cg.setParameter3f(slot, kCameraPosIndex, app.camera.eye.x, app.camera.eye.y, app.camera.eye.z);
  cg.setParameter3f(slot, kLightPosIndex, light.eye.x, light.eye.y, light.eye.z);
  app.depthPassActive = false;
  glPushMatrix();
  cg.setModelViewProjection(slot, kModelViewProjIndex);
  // The pair's programs are bound, not enabled: the scene's fixed-function
  // layers (sky box, wires, streams) draw before any projective pass has
  // enabled a pair, and through the glow's blur or the last frame's vertex
  // program they would be garbage. Each projective pass enables its own.
  cg.disableProfiles();
  if (sceneCallback != nullptr) sceneCallback(app);
  glPopMatrix();
  cg.disableProfiles();
  glPopMatrix();
  resetTextureMatrix();
  glEnable(GL_TEXTURE_2D);
  endPass(pass);
}

}  // namespace

void shadowScenePass(DemoApp& app, const OffscreenTarget& target, SceneCallback depthCallback,
                     SceneCallback sceneCallback, int depthTexture, int depthSize, int slot, const CameraView& camera,
                     const CameraView& light, bool toTexture, int width, int colourTexture) {
  depthPass(app, target, depthCallback, depthTexture, depthSize, slot, light);
  scenePass(app, target, sceneCallback, slot, camera, light, toTexture, width, colourTexture);
}

void scenePass(DemoApp& app, const OffscreenTarget& target, SceneCallback sceneCallback, int slot,
               const CameraView& camera, const CameraView& light, bool toTexture, int width, int colourTexture) {
  cameraPass(app, target, sceneCallback, slot, camera, light, toTexture, width, colourTexture);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glDisable(GL_CULL_FACE);
  glDisable(GL_LIGHTING);
}
