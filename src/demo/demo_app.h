#pragma once
#include <array>
#include <cstdint>

#include "assets/tds_loader.h"
#include "core/picture_size.h"
#include "demo/mesh_draw_state.h"
#include "gpu/cg_shader_set.h"
#include "gpu/mesh_buffers.h"
#include "gpu/texture_table.h"
#include "math/camera_view.h"

struct FrameInputs;

// The one application object: what the demo part receives in every call.
// Every drawing layer reads it; the shell (app/) creates the one there is.
struct DemoApp {
  // Scene indexes run from 0 to kSceneSlots - 1; each owns the texture
  // numbers from sceneTextureNumber(index, 0) on.
  static constexpr int kSceneSlots = 32;

  // What classifyGpu found out about the graphics card.
  bool isAti = false;
  double gpuSpeed = 1.0;
  int32_t lowEndModel = 0;  // 5200 for the slowest chips the demo knows
  // Size of the screen copies: 1 = 640 x 480, 2 = the picture, 3 = 320 x 240,
  // negative = follow the width the pass is given.
  int32_t resolutionMode = 2;
  // The picture drawn and its render targets; the shell sets it before
  // the part is set up and whenever the picture changes size.
  PictureLayout picture;
  TextureTable textures;
  CgShaderSet cgShaders;

  std::array<Scene3ds, kSceneSlots> scenes;
  // The scenes' arrays in GL buffer objects, made by loadScene.
  std::array<SceneBuffers, kSceneSlots> sceneBuffers;
  MeshDrawState meshDraw;

  // Set by the part every frame; read by the passes and the scene code.
  CameraView camera;
  CameraView lightView;
  // Every perspective of the passes: fovOffset + 75 degrees, square aspect.
  double fovOffset = 0.0;
  double nearPlane = 0.01;
  double farPlane = 180.0;
  // Width of the screen copy the glow pass maps: the picture's while the
  // parts run it, 512 otherwise.
  int32_t screenQuadWidth = 512;
  // True while the shadow pass draws depth from the light.
  bool depthPassActive = false;
  // Texture number for the "oned" sampler of programs bound with a decal;
  // negative binds nothing.
  int32_t rampTexture = -1;
  // The frame driver's record for the frame being drawn; null outside one.
  FrameInputs* inputs = nullptr;

  // Loads the 3DS file into scene `sceneIndex` (emptying it first),
  // multiplies its vertices by `scale`, loads its material maps into the
  // scene's texture numbers and its arrays into buffer objects. Needs the
  // GL context current. A file that cannot be read leaves the scene
  // empty and the demo goes on; an index outside the table is reported and
  // loads nothing.
  void loadScene(int32_t sceneIndex, double scale, const char* fileName);
  // The scene at the index; null outside the table.
  Scene3ds* scene(int32_t sceneIndex);
  const Scene3ds* scene(int32_t sceneIndex) const;
};
