#include "passes/glow_pass.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "demo/demo_app.h"
#include "effects/billboard.h"
#include "gpu/offscreen_target.h"
#include "gpu/pass_bracket.h"
#include "passes/gl_state_helpers.h"
#include "passes/projection_pass.h"

namespace {

// Seen from 2.03 units with a 65 degree field of view the view's half
// extent in the quad's plane is about 1.293: 1.295 covers it, 1.275 leaves
// a border of about 1.4 % on each side, through which old glow fades.
constexpr double kCover = 1.295;
constexpr double kShrunk = 1.275;
constexpr double kNoRoll = 0.0;

void drawQuad(const double& scale) {
  glPushMatrix();
  drawBillboard(kNoRoll, scale, scale);
  glPopMatrix();
}

}  // namespace

void glowPass(DemoApp& app, const OffscreenTarget& target, int sourceTexture, int glowTexture, int size, double opacity,
              int passes, int blurSlot) {
  const unsigned glowName = textureTable(app).name(glowTexture);
  const PassDescriptor feed{PassDescriptor::Surface::Offscreen, size, size, GL_COLOR_BUFFER_BIT, glowName, size, size};
  PassDescriptor blur = feed;
  blur.clear = 0;

  // Last frame's glow, shrunk, with the new picture over it.
  beginPass(target, feed);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(65.0, 1.0, 0.01, 124.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_LIGHT0);
  glDisable(GL_DEPTH_TEST);
  glColor3f(1, 1, 1);
  gluLookAt(0, 2.03, 0, 0, 0, 0, 1, 0, 0);
  disableProfiles(app);
  bindTextureNumber(app, glowTexture);
  drawQuad(kShrunk);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(1, 1, 1, float(opacity));
  bindTextureNumber(app, sourceTexture);
  glPushMatrix();
  drawScreenCopyBillboard(app.picture, app.screenQuadWidth, kNoRoll, kCover, kCover);
  glPopMatrix();
  glDisable(GL_BLEND);
  endPass(feed);

  for (int pass = 0; pass < passes; ++pass) {
    beginPass(target, blur);
    // Bound inside the pass, so the binding ends with it.
    bindFragmentWithDecal(app, blurSlot, glowTexture);
    glDisable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);  // the blur keeps the colour the program is given
    drawQuad(kCover);
    endPass(blur);
  }
  disableProfiles(app);
}
