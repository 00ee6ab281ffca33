#pragma once
#include <cstdint>
#include <vector>

#include "math/flag_vec3.h"

// The per-frame parameter block handed to the demo part. The director
// writes the camera, cue and pulse values; the shell writes the arrows and
// the recorded points; the parts own whatever they add.
struct FrameInputs {
  double cameraX = 0.0;
  double cameraY = 0.0;
  double cameraZ = 0.0;
  double arrowHorizontal = 0.0;
  double arrowVertical = 0.0;
  double pointX = 0.0;
  double pointY = 0.0;
  double pointZ = 0.0;
  std::vector<FlagVec3> recordedPoints;
  int32_t cueId = 0;
  int32_t cueIndex = 0;
  double beatFlash = 0.0;
  double leftButton = 0.0;
  double endFlash = 0.0;
  double bounceB = 0.0;
  double bounceA = 0.0;
  double bounceC = 0.0;
  double unity = 1.0;
  double time = 0.0;
};
