#include "choreography/backdrop_layer.h"

#include <GL/gl.h>

#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "effects/billboard.h"
#include "math/ease.h"

namespace {
constexpr double kDropTime = 18.0;
}  // namespace

double fogDensity(double T) { return T < kDropTime ? 0.01 : 0.004; }

double skyBoxSize(double T) { return T < kDropTime ? 100.0 : 230.0; }

double skyBoxFade(double T) { return 1.0 - clamp01((T - 28.6) * 0.5); }

bool skyBoxDrawn(double T) { return skyBoxFade(T) > 0.0001; }

void drawFogAndBackdrop(SceneFrame& frame) {
  const double T = frame.T;
  glPushAttrib(GL_ENABLE_BIT | GL_FOG_BIT | GL_HINT_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
  const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  glFogi(GL_FOG_MODE, GL_EXP2);
  glFogfv(GL_FOG_COLOR, black);
  glFogf(GL_FOG_DENSITY, float(fogDensity(T)));
  glHint(GL_FOG_HINT, GL_DONT_CARE);
  glEnable(GL_FOG);
  glDisable(GL_CULL_FACE);
  if (skyBoxDrawn(T)) {
    const double f = skyBoxFade(T);
    glColor3d(0.2 * f, 0.3 * f, 0.65 * f);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glRotated(6.0 * T, 0.3, 1.0, -0.5);
    drawSkyBox(frame.app.textures, kSkyFirstPicture, skyBoxSize(T));
    glPopMatrix();
  }
  glDisable(GL_FOG);
  glPopAttrib();
}
