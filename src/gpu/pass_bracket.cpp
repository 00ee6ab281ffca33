#include "gpu/pass_bracket.h"

#include <GL/gl.h>

#include "gpu/offscreen_target.h"

// Every group but the ones no pass or layer touches (lights and materials,
// evaluators, lists, pixel transfer, accumulation, stencil, scissor,
// stipple, multisampling): saving those too costs the software rasteriser
// a millisecond or more a frame for nothing.
const std::uint32_t kPassAttributeBits = GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_CURRENT_BIT |
                                         GL_TEXTURE_BIT | GL_POINT_BIT | GL_LINE_BIT | GL_POLYGON_BIT |
                                         GL_VIEWPORT_BIT | GL_FOG_BIT | GL_HINT_BIT | GL_TRANSFORM_BIT;

void beginPass(const OffscreenTarget& target, const PassDescriptor& pass) {
  if (pass.surface == PassDescriptor::Surface::Offscreen) {
    makePbufferCurrent(target);
  } else {
    makeWindowCurrent(target);
  }
  glPushAttrib(kPassAttributeBits);
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
