#pragma once
#include <cstddef>
#include <span>
#include <vector>

#include "math/flag_vec3.h"

struct CameraView;
struct SceneFrame;

// Layers 8 and 9: small camera-facing sprites over the man's sampled
// surface, all of a layer in one glBegin(GL_QUADS) batch. The layouts are
// pure functions of the part time and the points, so tests can hold them.

// Neither layer reads beyond the sampled surface's records.
inline constexpr int kMostPoints = 1000;

// How many points a layer whose count grows as rate x fade emits: every
// k with k < rate x fade, at most kMostPoints and at most `available`.
int pointCount(double rate, double fade, std::size_t available);

struct PointSprite {
  FlagVec3 centre;
  float alpha = 0.0f;
};

// Layer 8's fade: in over the second after 6 s.
double twinkleFade(double T);
// Layer 8 at part time T: re-seeds the generator, so every frame at one T
// gives the same sprites. One sprite per emitted point.
std::vector<PointSprite> twinklingLayout(std::span<const FlagVec3> points, double T);
// The same into `sprites` (emptied first), whose storage the frame reuses.
void twinklingLayout(std::span<const FlagVec3> points, double T, std::vector<PointSprite>& sprites);

// Layer 9's fade: in over two seconds from 11 s, out over the last second
// of its window.
double driftFade(double T);
// Layer 9 at part time T: the emitted points that have begun to move.
std::vector<PointSprite> driftingLayout(std::span<const FlagVec3> points, double T);
void driftingLayout(std::span<const FlagVec3> points, double T, std::vector<PointSprite>& sprites);

// The two axes of a sprite facing the camera, unit length.
struct FacingAxes {
  FlagVec3 right;
  FlagVec3 up;
};
FacingAxes facingAxes(const CameraView& camera);

// Layer 8: red points twinkling over the sampled surface.
void drawTwinklingPoints(SceneFrame& frame);
// Layer 9: points swelling out from the surface and drifting back in.
void drawDriftingPoints(SceneFrame& frame);
