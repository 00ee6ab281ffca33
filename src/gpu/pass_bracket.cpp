#include "gpu/pass_bracket.h"

#include <GL/gl.h>

#include "gpu/offscreen_target.h"

void beginPass(const OffscreenTarget& target, const PassDescriptor& pass) {
  if (pass.surface == PassDescriptor::Surface::Offscreen) {
    makePbufferCurrent(target);
  } else {
    makeWindowCurrent(target);
  }
  glPushAttrib(GL_ALL_ATTRIB_BITS);
  if (pass.viewportWidth > 0 && pass.viewportHeight > 0) glViewport(0, 0, pass.viewportWidth, pass.viewportHeight);
  // A clear under a write mask clears nothing, and the pass would draw over
  // the last frame's depths.
  glDepthMask(GL_TRUE);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  if (pass.clear != 0) glClear(pass.clear);
}

void endPass(const PassDescriptor& pass) {
  if (pass.copyTexture != 0 && pass.copyWidth > 0 && pass.copyHeight > 0)
    copyFramebufferToTexture(pass.copyTexture, pass.copyWidth, pass.copyHeight);
  glPopAttrib();
}
