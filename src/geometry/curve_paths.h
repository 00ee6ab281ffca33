#pragma once
#include <array>
#include <cstdint>

#include "geometry/spline_path.h"
#include "math/flag_vec3.h"

// How a path walks over a point cloud: from `start`, each step aims a
// little ahead along a slowly turning direction and hops to the cloud point
// nearest to that aim.
struct PathGrowth {
  FlagVec3 start;
  float scale;   // length and side of each step: negative walks towards -x
  double phase;  // angle of the turn at the first step, radians
  double rate;   // turn per step, in hundredths of a full turn
  double reach;  // forward part of each step before scaling
};

// Appends `steps` control points to `path`, each the nearest of the `count`
// cloud points to the step's aim, pushed 5 % outwards. Of equally near
// points the first wins, so the walk is the same on every machine.
void growPath(SplinePath& path, const FlagVec3* cloud, int32_t count, int32_t steps, const PathGrowth& growth);

// The 200 streams of the second half: each grows 50 steps over the sampled
// surface from a random start, then rises in three long strides into the
// sky, and is resampled to 20 evenly spaced points. Even paths drift
// towards +x, odd ones towards -x. Re-seeds the random generator.
void growCurvePaths(std::array<SplinePath, 200>& paths, const FlagVec3* surfacePoints, int32_t surfaceCount);
