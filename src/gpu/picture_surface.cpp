#include "gpu/picture_surface.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gpu/gl_entry_points.h"

bool bindPictureSurface(PictureSurface& surface, int width, int height, std::string& error) {
  auto& gl = glExtensionTable;
  if (surface.framebuffer == 0) {
    GLuint buffers[2] = {0, 0};
    gl.glGenRenderbuffers(2, buffers);
    GLuint framebuffer = 0;
    gl.glGenFramebuffers(1, &framebuffer);
    surface = PictureSurface{framebuffer, buffers[0], buffers[1], 0, 0};
    if (framebuffer == 0 || buffers[0] == 0 || buffers[1] == 0) {
      error = "the driver offers no framebuffer objects";
      releasePictureSurface(surface);
      return false;
    }
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  gl.glBindRenderbuffer(GL_RENDERBUFFER, surface.colour);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, surface.depthStencil);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, 0);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, surface.framebuffer);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, surface.colour);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, surface.depthStencil);
  const GLenum storage = glGetError();
  const GLenum status = gl.glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (storage != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) {
    error = "a picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is " +
            (storage != GL_NO_ERROR ? "more than the driver takes (GL error " + std::to_string(storage) + ")"
                                    : "refused by the driver (framebuffer status " + std::to_string(status) + ")");
    releasePictureSurface(surface);
    return false;
  }
  surface.width = width;
  surface.height = height;
  return true;
}

void releasePictureSurface(PictureSurface& surface) {
  auto& gl = glExtensionTable;
  gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (surface.framebuffer != 0) {
    const GLuint framebuffer = surface.framebuffer;
    gl.glDeleteFramebuffers(1, &framebuffer);
  }
  const GLuint buffers[2] = {surface.colour, surface.depthStencil};
  if (buffers[0] != 0 || buffers[1] != 0) gl.glDeleteRenderbuffers(2, buffers);
  surface = PictureSurface{};
}

void presentPicture(const PictureSurface& surface, const PictureRect& shown) {
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
