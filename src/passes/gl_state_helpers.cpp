#include "passes/gl_state_helpers.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "demo/demo_app.h"
#include "effects/look_at_camera.h"
#include "gpu/gl_entry_points.h"
#include "gpu/offscreen_target.h"

namespace {
constexpr double kBaseFieldOfView = 75.0;
}

TextureTable& textureTable(DemoApp& app) { return app.textures; }
const TextureTable& textureTable(const DemoApp& app) { return app.textures; }

void disableProfiles(DemoApp& app) { app.cgShaders.disableProfiles(); }

void bindTextureNumber(const DemoApp& app, int number) { textureTable(app).bindTexture(number); }

void setCameraProjection(DemoApp& app, const OffscreenTarget& target) {
  makeWindowCurrent(target);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  multiplyDemoPerspective(app);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}

void multiplyDemoPerspective(const DemoApp& app) {
  gluPerspective(app.fovOffset + kBaseFieldOfView, 1.0, app.nearPlane, app.farPlane);
}

void loadLightTextureMatrix(const DemoApp& app, const CameraView& light) {
  // The state-matrix parameter reads the active unit's texture matrix.
  glExtensionTable.glActiveTextureARB(GL_TEXTURE0);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glTranslatef(0.5f, 0.5f, 0.5f);
  glScalef(0.5f, 0.5f, 0.5f);
  multiplyDemoPerspective(app);
  multiplyLookAt(light);
}

void resetTextureMatrix() {
  glExtensionTable.glActiveTextureARB(GL_TEXTURE0);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}
