#include "passes/gl_state_helpers.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "demo/demo_app.h"
#include "gpu/gl_entry_points.h"
#include "gpu/offscreen_target.h"

namespace {
constexpr double kBaseFieldOfView = 75.0;
}

TextureTable& textureTable(DemoApp& app) { return app.textures; }
const TextureTable& textureTable(const DemoApp& app) { return app.textures; }

void setLinearFiltering() {
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
}

void resetDrawState() {
  glDisable(GL_BLEND);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHT0);
  glDisable(GL_TEXTURE_2D);
  glColor4f(1, 1, 1, 1);
  glDisable(GL_FOG);
}

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

void multiplyLookAt(const CameraView& view) {
  gluLookAt(view.eye.x, view.eye.y, view.eye.z, view.centre.x, view.centre.y, view.centre.z, view.up.x, view.up.y,
            view.up.z);
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
