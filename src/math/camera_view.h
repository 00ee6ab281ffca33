#pragma once
#include "math/flag_vec3.h"

// Where a view is seen from, what it looks at and which way is up: the
// three vectors handed to gluLookAt. Only x, y and z are read.
struct CameraView {
  FlagVec3 eye{1, 0, 0, 1};
  FlagVec3 centre{1, 0, 0, 0};
  FlagVec3 up{1, 0, 1, 0};
};
