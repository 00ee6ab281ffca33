#include "gpu/offscreen_target.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/picture_size.h"
#include "gpu/gl_entry_points.h"
#include "platform/gl_contexts.h"
#include "platform/gl_window.h"

namespace {
// The framebuffer object, made while the offscreen context is current:
// framebuffer objects belong to the context that made them.
// The framebuffer object, made while the offscreen context is current:
// framebuffer objects belong to the context that made them.
bool makeFramebuffer(OffscreenTarget& t, int width, int height, std::string& error) {
  if (!sizeFramebufferObject(t.pbuffer, width, height, error)) return false;
  // A context made for a surface of its own starts with that surface's
  // size as its viewport, not the window's.
  glViewport(0, 0, width, height);
  return true;
}

void releaseOffscreen(OffscreenTarget& t) {
  if (t.pbufferRC != nullptr && platformMakeContextCurrent(t.pbufferDC, t.pbufferRC))
    deleteFramebufferObject(t.pbuffer);
  if (t.windowRC != nullptr) platformMakeContextCurrent(t.windowDC, t.windowRC);
  platformDeleteSharedContext(t.pbufferRC);
  t = OffscreenTarget{};
}

// What the copies and pixel reads of the window context rely on.
void resetWindowState() {
  for (GLenum cap : {GL_ALPHA_TEST, GL_BLEND, GL_DEPTH_TEST, GL_DITHER, GL_FOG, GL_LIGHTING, GL_LOGIC_OP,
                     GL_STENCIL_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D}) {
    glDisable(cap);
  }
  glPixelTransferi(GL_MAP_COLOR, GL_FALSE);
  glPixelTransferi(GL_RED_SCALE, 1);
  glPixelTransferi(GL_RED_BIAS, 0);
  glPixelTransferi(GL_GREEN_SCALE, 1);
  glPixelTransferi(GL_GREEN_BIAS, 0);
  glPixelTransferi(GL_BLUE_SCALE, 1);
  glPixelTransferi(GL_BLUE_BIAS, 0);
  glPixelTransferi(GL_ALPHA_SCALE, 1);
  glPixelTransferi(GL_ALPHA_BIAS, 0);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glPixelStorei(GL_PACK_ROW_LENGTH, 0);
  glPixelStorei(GL_PACK_SKIP_ROWS, 0);
  glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
}
}  // namespace

bool createOffscreenTarget(OffscreenTarget& target, int width, int height, std::string& error) {
  target = OffscreenTarget{};
  void* window = nullptr;
  void* windowContext = nullptr;
  if (!platformCurrentGl(window, windowContext)) {
    error = "no GL context is current";
    return false;
  }
  glMatrixMode(GL_PROJECTION);
  gluPerspective(65.0, 4.0 / 3.0, 0.001, 157.0);
  glMatrixMode(GL_MODELVIEW);

  target.windowDC = window;
  target.windowRC = windowContext;
  target.pbufferDC = window;
  target.pbufferRC = platformCreateSharedContext(window);
  if (target.pbufferRC == nullptr) {
    error = "no second GL context: " + platformError();
    platformMakeContextCurrent(window, windowContext);
    target = OffscreenTarget{};
    return false;
  }
  if (!platformMakeContextCurrent(target.pbufferDC, target.pbufferRC) ||
      !makeFramebuffer(target, width, height, error)) {
    if (error.empty()) error = "cannot make the second GL context current: " + platformError();
    releaseOffscreen(target);
    return false;
  }
  if (!platformMakeContextCurrent(window, windowContext)) {
    error = "cannot make the window's context current again: " + platformError();
    releaseOffscreen(target);
    return false;
  }
  resetWindowState();
  return true;
}

void destroyOffscreenTarget(OffscreenTarget& target) { releaseOffscreen(target); }

bool resizeOffscreenTarget(OffscreenTarget& target, int width, int height, std::string& error) {
  if (width == target.pbuffer.width && height == target.pbuffer.height) return true;
  if (!makePbufferCurrent(target)) {
    error = "cannot make the second GL context current: " + platformError();
    return false;
  }
  const int oldWidth = target.pbuffer.width, oldHeight = target.pbuffer.height;
  const bool sized = makeFramebuffer(target, width, height, error);
  if (!sized) {
    std::string ignored;
    makeFramebuffer(target, oldWidth, oldHeight, ignored);
  }
  makeWindowCurrent(target);
  return sized;
}

bool makePbufferCurrent(const OffscreenTarget& target) {
  if (target.pbufferRC == nullptr || !platformMakeContextCurrent(target.pbufferDC, target.pbufferRC)) return false;
  // Bound on every switch: code that unbinds it in this context (to read the
  // window, say) must not leave the next pass drawing into the window.
  glExtensionTable.glBindFramebuffer(GL_FRAMEBUFFER, target.pbuffer.framebuffer);
  return true;
}

bool makeWindowCurrent(const OffscreenTarget& target) {
  return target.windowRC != nullptr && platformMakeContextCurrent(target.windowDC, target.windowRC);
}

void copyFramebufferToTexture(std::uint32_t textureName, int width, int height) {
  const int rows = width == kPictureWidth ? kPictureHeight : height;
  glBindTexture(GL_TEXTURE_2D, textureName);
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, width, rows);
}

void uploadRgbTexture(std::uint32_t textureName, int width, int height, const std::uint8_t* pixels) {
  glBindTexture(GL_TEXTURE_2D, textureName);
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, 3, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}
