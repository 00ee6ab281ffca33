#include "gpu/framebuffer_object.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "gpu/gl_entry_points.h"

bool sizeFramebufferObject(FramebufferObject& f, int width, int height, std::string& error) {
  auto& gl = glExtensionTable;
  if (f.framebuffer == 0) {
    GLuint buffers[2] = {0, 0};
    gl.glGenRenderbuffers(2, buffers);
    GLuint framebuffer = 0;
    gl.glGenFramebuffers(1, &framebuffer);
    f = FramebufferObject{framebuffer, buffers[0], buffers[1], 0, 0};
    if (framebuffer == 0 || buffers[0] == 0 || buffers[1] == 0) {
      error = "the driver offers no framebuffer objects";
      return false;
    }
  }
  while (glGetError() != GL_NO_ERROR) {
  }
  // Storage first: a renderbuffer name becomes an object when first bound,
  // and only an object can be attached.
  gl.glBindRenderbuffer(GL_RENDERBUFFER, f.colour);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, f.depthStencil);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, 0);
  gl.glBindFramebuffer(GL_FRAMEBUFFER, f.framebuffer);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, f.colour);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, f.depthStencil);
  const GLenum storage = glGetError();
  const GLenum status = gl.glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (storage != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) {
    error = "a framebuffer of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is " +
            (storage != GL_NO_ERROR ? "more than the driver takes (GL error " + std::to_string(storage) + ")"
                                    : "incomplete (status " + std::to_string(status) + ")");
    return false;
  }
  f.width = width;
  f.height = height;
  return true;
}

void deleteFramebufferObject(FramebufferObject& f) {
  auto& gl = glExtensionTable;
  gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
  if (f.framebuffer != 0) {
    const GLuint framebuffer = f.framebuffer;
    gl.glDeleteFramebuffers(1, &framebuffer);
  }
  const GLuint buffers[2] = {f.colour, f.depthStencil};
  if (buffers[0] != 0 || buffers[1] != 0) gl.glDeleteRenderbuffers(2, buffers);
  f = FramebufferObject{};
}
