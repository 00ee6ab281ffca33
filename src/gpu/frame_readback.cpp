#include "gpu/frame_readback.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

#include "gpu/gl_entry_points.h"

void readBackBuffer(int width, int height, std::vector<uint8_t>& rgb) {
  const size_t row = static_cast<size_t>(width) * 3;
  rgb.resize(row * static_cast<size_t>(height));
  // A part may leave a framebuffer object bound for reading; the picture
  // is the window's.
  GLint readFramebuffer = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
  if (readFramebuffer != 0) glExtensionTable.glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
  GLint readBuffer = GL_BACK;
  GLint packAlignment = 4;
  glGetIntegerv(GL_READ_BUFFER, &readBuffer);
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glReadBuffer(GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  glReadBuffer(static_cast<GLenum>(readBuffer));
  if (readFramebuffer != 0) {
    glExtensionTable.glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
  }
  for (size_t top = 0, bottom = static_cast<size_t>(height) - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(rgb.begin() + static_cast<std::ptrdiff_t>(top * row),
                     rgb.begin() + static_cast<std::ptrdiff_t>((top + 1) * row),
                     rgb.begin() + static_cast<std::ptrdiff_t>(bottom * row));
  }
}
