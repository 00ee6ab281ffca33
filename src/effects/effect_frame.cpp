#include "effects/effect_frame.h"

#include "demo/demo_app.h"

void bindEffectTexture(const EffectFrame& frame, int32_t offset) {
  frame.app.textures.bindTexture(frame.textureBase + offset);
}
