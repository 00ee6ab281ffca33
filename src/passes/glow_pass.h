#pragma once

struct DemoApp;
struct OffscreenTarget;

// The glow: a small texture that feeds on itself. In the offscreen
// surface, at size x size: last frame's glow drawn slightly shrunk, the new
// screen copy (texture number `sourceTexture`, its screen region only, at
// `screenQuadWidth`) blended over it at `opacity`, copied into the glow
// texture; then `passes` times blurred through the fragment program at
// `blurSlot` and copied back. Leaves the offscreen context current, depth
// test on and both program stages disabled.
void glowPass(DemoApp& app, const OffscreenTarget& target, int sourceTexture, int glowTexture, int size, double opacity,
              int passes, int blurSlot);
