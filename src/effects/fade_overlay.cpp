#include "effects/fade_overlay.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "effects/billboard.h"

void drawFadeOverlay(double level) {
  const auto a = static_cast<float>(level);
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  glPushMatrix();
  glLoadIdentity();
  gluLookAt(0.0, 3.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 1.0);
  glScalef(1.0f, 1.0f, 0.7f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_COLOR);
  glDisable(GL_LIGHTING);
  glColor3f(a, a, a);
  glDisable(GL_TEXTURE_2D);
  // The billboard keeps only this view's translation, 3 units in front of
  // the eye, so a 100 x 100 quad covers the screen.
  drawBillboard(0.0, 50.0, 50.0);
  glPopMatrix();
  glPopAttrib();
}
