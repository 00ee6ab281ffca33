#include "plain_part.h"

#include <GL/gl.h>

#include <cmath>

namespace {
void rect(float x0, float y0, float x1, float y1) {
  glVertex2f(x0, y0);
  glVertex2f(x1, y0);
  glVertex2f(x1, y1);
  glVertex2f(x0, y1);
}

void drawPicture(double partTime, const FrameInputs& in) {
  glMatrixMode(GL_PROJECTION);
  glPushMatrix();
  glLoadIdentity();
  glOrtho(-1.0, 1.0, -1.0, 1.0, -1.0, 1.0);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glDisable(GL_DEPTH_TEST);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LIGHTING);
  glDisable(GL_BLEND);

  // Backdrop: a slow vertical gradient.
  const auto glow = static_cast<float>(0.5 + 0.5 * std::sin(partTime * 0.7));
  glBegin(GL_QUADS);
  glColor3f(0.02f, 0.03f, 0.08f);
  glVertex2f(-1.0f, -1.0f);
  glVertex2f(1.0f, -1.0f);
  glColor3f(0.10f + 0.10f * glow, 0.12f, 0.30f);
  glVertex2f(1.0f, 1.0f);
  glVertex2f(-1.0f, 1.0f);
  glEnd();

  // A square that turns with time and bounces with the cue pulse.
  const auto size = static_cast<float>(0.25 + 0.08 * in.bounceA);
  glRotatef(static_cast<float>(partTime * 40.0), 0.0f, 0.0f, 1.0f);
  glScalef(0.75f, 1.0f, 1.0f);
  glBegin(GL_QUADS);
  glColor3f(0.9f, 0.6f, 0.2f);
  rect(-size, -size, size, size);
  glEnd();
  glLoadIdentity();

  // Progress of the production along the bottom.
  const auto done = static_cast<float>(std::fmin(partTime / DemoPart::kPartEndTime, 1.0));
  glBegin(GL_QUADS);
  glColor3f(0.2f, 0.2f, 0.25f);
  rect(-0.9f, -0.9f, 0.9f, -0.86f);
  glColor3f(0.95f, 0.95f, 1.0f);
  rect(-0.9f, -0.9f, -0.9f + 1.8f * done, -0.86f);
  glEnd();

  glPopMatrix();
  glMatrixMode(GL_PROJECTION);
  glPopMatrix();
  glMatrixMode(GL_MODELVIEW);
}
}  // namespace

void PlainPart::setUp(DemoApp*) { resetPartState(); }

void PlainPart::drawPartFrame(OffscreenTarget*, DemoApp*, FrameInputs*) { drawPicture(partTime, frameInputs); }
