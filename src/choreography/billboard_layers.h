#pragma once
#include <array>

#include "math/flag_vec3.h"

struct SceneFrame;

// Layers 4, 16 and 17: textured quads turned to the camera, drawn in the
// additive blending layer 3 leaves behind, so they glow and never darken.

// Where a billboard stands, how large it is and how bright.
struct BillboardPlace {
  FlagVec3 centre;
  double halfSize = 0.0;
  double roll = 0.0;  // degrees
  double brightness = 0.0;
};

// Layer 4's two quads at part time T: a veil of cloud behind the man and a
// soft light above him, both in from 9.9 s and gone before 22 s.
std::array<BillboardPlace, 2> cameraQuads(double T);

// Layer 16's two wing pictures (a feather and a feathered star) at part
// time T, opening out from 17 s and fading before 30 s.
std::array<BillboardPlace, 2> wingBillboards(double T);

// Layer 17: how many lights run along the line, and light `i` at part time
// T: they slide along the line from its start to its end and come round
// again, brightest mid-way.
inline constexpr int kLineLights = 32;
BillboardPlace lineLight(double T, int i);

void drawCameraQuads(SceneFrame& frame);
void drawWings(SceneFrame& frame);
void drawLineOfLights(SceneFrame& frame);
