#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/spline_path.h"

struct DemoApp;
class LineBatch;

// What a line effect reads for one frame, passed in by the choreography
// instead of the whole part, so the effects depend on no part type.
struct EffectFrame {
  double time = 0.0;        // the part's scene time T, seconds
  int32_t textureBase = 0;  // the part's texture numbers start here
  DemoApp& app;             // camera and texture table
  LineBatch& lines;         // reserved once by the owner, reused every frame
  // The part's traced outlines, one array of paths per picture, in the
  // part's order (cardinal, flower, cave, pcb, drovtrace, horse).
  std::span<const std::vector<SplinePath>> outlines{};
};

// Binds texture number textureBase + offset of the application's table.
void bindEffectTexture(const EffectFrame& frame, int32_t offset);
