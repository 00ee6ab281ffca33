#pragma once
#include <cstdint>

#include "gpu/cg_shader_set.h"
#include "gpu/texture_table.h"

// The one application object: what the demo part receives in every call.
// It grows with the other resources it holds (scenes, drawing state).
struct DemoApp {
  // What classifyGpu found out about the graphics card.
  bool isAti = false;
  double gpuSpeed = 1.0;
  int32_t lowEndModel = 0;  // 5200 for the slowest chips the demo knows
  // Size of the screen copies: 1 = 640 x 480, 2 = 800 x 600, 3 = 320 x 240.
  int32_t resolutionMode = 2;
  TextureTable textures;
  CgShaderSet cgShaders;
};
