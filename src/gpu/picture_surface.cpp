#include "gpu/picture_surface.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gpu/gl_entry_points.h"

void presentPicture(const FramebufferObject& surface, const PictureRect& shown) {
  if (surface.framebuffer == 0) return;
  auto& gl = glExtensionTable;
  glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT | GL_ENABLE_BIT);
  gl.glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  glDisable(GL_SCISSOR_TEST);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  const bool sameSize = shown.width == surface.width && shown.height == surface.height;
  gl.glBindFramebuffer(GL_READ_FRAMEBUFFER, surface.framebuffer);
  gl.glBlitFramebuffer(0, 0, surface.width, surface.height, shown.x, shown.y, shown.x + shown.width,
                       shown.y + shown.height, GL_COLOR_BUFFER_BIT, sameSize ? GL_NEAREST : GL_LINEAR);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, surface.framebuffer);
  glPopAttrib();
}
