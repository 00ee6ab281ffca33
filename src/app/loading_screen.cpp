#include "app/loading_screen.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "app/picture_fit.h"
#include "demo/texture_numbers.h"
#include "effects/billboard.h"

bool drawLoadingScreen(TextureTable& textures, ShellState& shell, double level) {
  // Every frame loads the picture afresh (at start-up from the decoded copy
  // the prefetch keeps, so no frame waits on the decoder); the copy of the
  // frame before is of no further use, so it does not stay behind in video
  // memory.
  const GLuint previous = textures.name(kLoadingTexture);
  textures.loadJpegTexture(kLoadingPicture, kLoadingTexture);
  if (textures.loadingFailed()) return false;
  if (previous != 0 && previous != textures.name(kLoadingTexture)) glDeleteTextures(1, &previous);

  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(60.0, 1.0, 0.01, 10.0);
  gluLookAt(0.0, 0.0, 22.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);

  glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_TEXTURE_2D);
  textures.bindTexture(kLoadingTexture);

  // The billboard replaces the projection (and this translation) with the
  // modelview's translation, which is none: the quad lands in normalised
  // device coordinates, 65 % of the width by 86.67 % of the height.
  glPushMatrix();
  const auto l = static_cast<float>(level);
  glColor3f(l, l, l);
  glTranslatef(0.0f, 2.0f, 0.0f);
  drawBillboard(0.0, 0.65, 0.8666666666666667);
  glPopMatrix();

  glMatrixMode(GL_MODELVIEW);
  glPopMatrix();
  showFrame(shell);
  return true;
}
