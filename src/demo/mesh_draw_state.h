#pragma once
#include <cstdint>
#include <vector>

#include "math/flag_vec3.h"

struct DemoApp;

// One object's placement inside a drawn scene.
struct ObjectPlacement {
  FlagVec3 translate{1, 0, 0, 0};
  double angle = 0.0;  // degrees; only the shader rendition turns by it
  FlagVec3 axis{1, 0, 0, 1};
  FlagVec3 scale{1, 1, 1, 1};
  FlagVec3 basis[3];
  bool useBasis = false;
};

// Extra drawing the shader rendition runs beside the meshes, with both
// program stages off: `before` is true when it runs ahead of them.
using MeshDrawHook = void (*)(DemoApp& app, bool before);

// The parameters the scene code sets before it draws a mesh scene, and puts
// back afterwards. The defaults draw every object whole, opaque, in place.
struct MeshDrawState {
  FlagVec3 translate{1, 0, 0, 0};
  double angle = 0.0;  // degrees
  FlagVec3 axis{1, 0, 0, 1};
  FlagVec3 scale{1, 1, 1, 1};
  FlagVec3 basis[3];
  bool useBasis = false;  // shader rendition: basis into the object matrix
  // Empty, or one placement for every object index that is drawn.
  std::vector<ObjectPlacement> placements;

  // Below kOpaqueAlpha the scene is drawn twice: depth first, then colour
  // blended (GL_SRC_ALPHA, blendDst) where the depth is equal.
  double alpha = 1.0;
  uint32_t blendDst = 0x0303;  // GL_ONE_MINUS_SRC_ALPHA
  // Depth first even when opaque, then colour unblended; the shader rendition
  // clears it once used.
  bool forcePrepass = false;
  // No depth test, GL_SRC_ALPHA / GL_ONE_MINUS_SRC_ALPHA blending.
  bool overlayBlend = false;

  // Texture numbers for the shader rendition's "cube" and "oned" samplers;
  // negative binds nothing.
  int32_t cubeTexture = -1;
  int32_t rampTexture = -1;

  MeshDrawHook hook = nullptr;
  bool hookEnabled = false;
  bool hookBefore = true;

  // Object filters: -1 leaves them open.
  int32_t excludedObject = -1;
  int32_t onlyObject = -1;
  std::vector<int32_t> hiddenObjects;
  // Share of each object's face list that is drawn, from its start;
  // nothing at all unless above kLeastFaceFraction.
  float faceFraction = 1.0f;

  static constexpr double kOpaqueAlpha = 0.9999;
  static constexpr float kLeastFaceFraction = 0.0001f;

  // What the scene code puts back after each draw: no translation or turn,
  // scale 1, no basis, every face.
  void resetPlacement() {
    translate = FlagVec3{1, 0, 0, 0};
    angle = 0.0;
    scale = FlagVec3{1, 1, 1, 1};
    useBasis = false;
    faceFraction = 1.0f;
  }
};
