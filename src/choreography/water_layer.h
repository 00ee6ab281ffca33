#pragma once
#include <cstdint>

struct SceneFrame;
struct WaterState;

// Layer 14: rain on the water. Drops fall into the ripple field at most
// once a frame, the field's normal map lights the ground (texture 7), the
// picture drawn so far is copied (texture 3) and the water mesh refracts
// it. The shader rendition only.
void drawWater(SceneFrame& frame);

// The seed of a frame's drop positions: part time in nanoseconds, cut to
// 64 bits and then to its low 32 bits, so every frame of a run drops
// somewhere else (a 32-bit cut would overflow after 2.147 s).
uint32_t waterSeed(double T);

// What the water did this frame.
struct RippleStep {
  bool dropped = false;
  int32_t x = 0;
  int32_t y = 0;
};

// Steps 1 and 2 of the layer, without drawing: re-seeds the generator,
// then while the rain falls adds the frame's step to the drop clock and,
// once it is positive, drops and steps the field once. Never more than one
// drop a frame, however long the frame.
RippleStep advanceRipple(WaterState& water, double T, double step);
