#include "gpu/frame_readback.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstring>

#include "gpu/gl_entry_points.h"

void readPicture(std::uint32_t framebuffer, int width, int height, std::vector<uint8_t>& rgb) {
  const size_t row = static_cast<size_t>(width) * 3;
  rgb.resize(row * static_cast<size_t>(height));
  // A part may leave another framebuffer object bound for reading. The
  // read buffer is state of each framebuffer: the one read is set to its
  // picture, the other keeps its own.
  GLint readFramebuffer = 0;
  glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &readFramebuffer);
  glExtensionTable.glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
  GLint packAlignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  glReadBuffer(framebuffer != 0 ? GL_COLOR_ATTACHMENT0 : GL_BACK);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
  glExtensionTable.glBindFramebuffer(GL_READ_FRAMEBUFFER, static_cast<GLuint>(readFramebuffer));
  for (size_t top = 0, bottom = static_cast<size_t>(height) - 1; top < bottom; ++top, --bottom) {
    std::swap_ranges(rgb.begin() + static_cast<std::ptrdiff_t>(top * row),
                     rgb.begin() + static_cast<std::ptrdiff_t>((top + 1) * row),
                     rgb.begin() + static_cast<std::ptrdiff_t>(bottom * row));
  }
}
