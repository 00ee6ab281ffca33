#pragma once
#include "math/camera_view.h"

// The camera's path through the whole piece, as a function of part time.
// A chain of views: some are set outright at the cuts (12.3 s, 16.2 s,
// 20 s), the others are blended in with eased weights, so between the cuts
// the camera never jumps.
void runCameraProgramme(double partTime, CameraView& camera);

// Near and far clip planes: the world opens up after the cut at 16.2 s.
struct ClipPlanes {
  double nearPlane;
  double farPlane;
};
ClipPlanes clipPlanesAt(double partTime);
