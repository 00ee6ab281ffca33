#pragma once
#include <cstdint>
#include <vector>

#include "math/flag_vec3.h"

// Coefficients of a * f^3 + b * f^2 + c * f + d, f in 0..1, on one segment.
struct SegmentCubic {
  FlagVec3 a, b, c, d;
};

// A Catmull-Rom curve through FlagVec3 control points, evaluated at a real
// parameter in control-point units (s = k is point k).
struct SplinePath {
  explicit SplinePath(int32_t initialMode = 0) : mode(initialMode) {}

  // Writes the curve point at s into out.x, y, z. An open path clamps to its
  // end points: beyond them the whole record (flag included) is a copy of
  // the end point. A closed path wraps for any s. On an empty path out is
  // left alone.
  void evaluate(float s, FlagVec3& out) const;

  // Replaces the points by newCount points evenly spaced along the curve,
  // measured with stepsPerSegment chords per segment. The same points go
  // into shadowPoints and restPoints; mode becomes 3.
  void resampleByArcLength(int32_t newCount, int32_t stepsPerSegment);

  // One cubic per control point, treating the path as a loop.
  void computeClosedCubics();

  std::vector<FlagVec3> points;
  std::vector<FlagVec3> shadowPoints;
  std::vector<FlagVec3> restPoints;
  std::vector<SegmentCubic> segments;
  int32_t mode;
  bool closed = false;
  // The number of control points in use; never more than points.size() is
  // read, whatever this says.
  int32_t count = 0;
};
