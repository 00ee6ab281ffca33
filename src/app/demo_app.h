#pragma once
#include <cstdint>

// The one application object: what the demo part receives in every call.
// It grows with the resources it holds (textures, scenes, programs).
struct DemoApp {
  bool isAti = false;
  double gpuSpeed = 1.0;
  int32_t lowEndModel = 0;
  int32_t textureBase = 0;
  // Size of the screen copies: 1 = 640 x 480, 2 = 800 x 600, 3 = 320 x 240.
  int32_t resolutionMode = 2;
};
