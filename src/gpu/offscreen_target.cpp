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
// Storage for both renderbuffers; false when the driver cannot give it.
bool sizeRenderbuffers(const OffscreenTarget& t, int width, int height, std::string& error) {
  auto& gl = glExtensionTable;
  while (glGetError() != GL_NO_ERROR) {
  }
  gl.glBindRenderbuffer(GL_RENDERBUFFER, t.pbufferColor);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, t.pbufferDepthStencil);
  gl.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, width, height);
  gl.glBindRenderbuffer(GL_RENDERBUFFER, 0);
  const GLenum storage = glGetError();
  const GLenum status = gl.glCheckFramebufferStatus(GL_FRAMEBUFFER);
  if (storage != GL_NO_ERROR || status != GL_FRAMEBUFFER_COMPLETE) {
    error = "the " + std::to_string(width) + " x " + std::to_string(height) + " framebuffer is " +
            (storage != GL_NO_ERROR ? "refused (GL error " + std::to_string(storage) + ")"
                                    : "incomplete (status " + std::to_string(status) + ")");
    return false;
  }
  // A context made for a surface of its own starts with that surface's
  // size as its viewport, not the window's.
  glViewport(0, 0, width, height);
  return true;
}

// The framebuffer object, made while the offscreen context is current:
// framebuffer objects belong to the context that made them.
bool makeFramebuffer(OffscreenTarget& t, int width, int height, std::string& error) {
  auto& gl = glExtensionTable;
  GLuint buffers[2] = {0, 0};
  gl.glGenRenderbuffers(2, buffers);
  t.pbufferColor = buffers[0];
  t.pbufferDepthStencil = buffers[1];
  if (t.pbufferColor == 0 || t.pbufferDepthStencil == 0) {
    error = "the driver offers no renderbuffers";
    return false;
  }
  GLuint framebuffer = 0;
  gl.glGenFramebuffers(1, &framebuffer);
  t.pbuffer = framebuffer;
  if (framebuffer == 0) {
    error = "the driver offers no framebuffer objects";
    return false;
  }
  gl.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  // A renderbuffer name becomes an object when first bound; only then can
  // it be attached.
  for (GLuint buffer : buffers) gl.glBindRenderbuffer(GL_RENDERBUFFER, buffer);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, t.pbufferColor);
  gl.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, t.pbufferDepthStencil);
  if (!sizeRenderbuffers(t, width, height, error)) return false;
  t.width = width;
  t.height = height;
  return true;
}

void releaseOffscreen(OffscreenTarget& t) {
  auto& gl = glExtensionTable;
  if (t.pbufferRC != nullptr && platformMakeContextCurrent(t.pbufferDC, t.pbufferRC)) {
    if (t.pbuffer != 0) {
      GLuint framebuffer = t.pbuffer;
      gl.glBindFramebuffer(GL_FRAMEBUFFER, 0);
      gl.glDeleteFramebuffers(1, &framebuffer);
    }
    const GLuint buffers[2] = {t.pbufferColor, t.pbufferDepthStencil};
    if (buffers[0] != 0 || buffers[1] != 0) gl.glDeleteRenderbuffers(2, buffers);
  }
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
  if (width == target.width && height == target.height) return true;
  if (!makePbufferCurrent(target)) {
    error = "cannot make the second GL context current: " + platformError();
    return false;
  }
  bool sized = sizeRenderbuffers(target, width, height, error);
  if (sized) {
    target.width = width;
    target.height = height;
  } else {
    std::string ignored;
    sizeRenderbuffers(target, target.width, target.height, ignored);
  }
  makeWindowCurrent(target);
  return sized;
}

bool makePbufferCurrent(const OffscreenTarget& target) {
  if (target.pbufferRC == nullptr || !platformMakeContextCurrent(target.pbufferDC, target.pbufferRC)) return false;
  // Bound on every switch: code that unbinds it in this context (to read the
  // window, say) must not leave the next pass drawing into the window.
  glExtensionTable.glBindFramebuffer(GL_FRAMEBUFFER, target.pbuffer);
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
