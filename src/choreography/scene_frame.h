#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "geometry/spline_path.h"
#include "math/flag_vec3.h"
#include "math/ripple_field.h"

struct DemoApp;
class Rendition;

// What the part prepared at set-up and the layers draw from, by number or
// by reference: the layers never see the part itself.
struct SceneAssets {
  std::span<const FlagVec3> surfacePoints;
  std::span<const SplinePath> curvePaths;
  std::span<const std::vector<SplinePath>> outlinePaths;
  // Program slots of the five projection pairs and the five mesh scenes:
  // man, heart, man_gon, thequad, edafos2.
  std::array<int32_t, 5> projectionPrograms{2, 6, 12, 18, 20};
  std::array<int32_t, 5> sceneIndexes{0, 1, 2, 3, 4};
};

// The water's running state, kept by the part between frames.
struct WaterState {
  RippleField* ripple = nullptr;
  double* rippleClock = nullptr;
};

// Everything one frame of the choreography draws from. Built by the part
// each frame; the layers read it and touch only the application's draw
// state, the water and the random generator.
struct SceneFrame {
  DemoApp& app;
  const Rendition& rendition;
  double T = 0.0;     // part time, seconds
  double step = 0.0;  // this frame's time step, seconds
  SceneAssets assets;
  WaterState water;
  // The meshes' keyframe time (0..1); the choreography holds every mesh in
  // its rest pose.
  double animationTime = 0.0;
};
