#pragma once
#include <cstdint>

struct CameraView;
struct DemoApp;
struct OffscreenTarget;

// The scene pass: optionally a depth pass from the light into the
// offscreen surface and the depth texture, then the scene from the camera,
// either into the offscreen surface and copied into a colour texture
// (to-texture), or straight into the window.

// A drawing callback; null draws nothing.
using SceneCallback = void (*)(DemoApp& app);

struct PassSize {
  int width;
  int height;
};

// The viewport of the camera pass into the offscreen surface, by the
// app's resolution mode and the width asked for: a negative mode follows
// the width (640: 640 x 480, 800: 800 x 600, else square); from width 601
// on, modes 1, 2, 3 give 640 x 480, 800 x 600, 320 x 240 (another mode
// follows the width as a negative one does); below, width x width.
PassSize shadowPassViewport(int32_t resolutionMode, int width);

// The region copied into the colour texture: width 640 gives 640 x 480
// (mode negative or 1), 800 x 600 (mode 2) or 320 x 240 (mode 3); width 800
// gives 800 x 600 (negative or 2), 640 x 480 (1) or 320 x 240 (3); any
// other width or mode, width x width.
PassSize shadowPassCopySize(int32_t resolutionMode, int width);

// The whole pass with `depthCallback` drawn from `light` into depthSize
// square of depth (copied into texture number `depthTexture`, no larger
// than that texture, when the callback is not null) and `sceneCallback`
// drawn from `camera`. The scene callback starts with both program stages
// disabled; the pair at `slot` is bound and its matrices and positions
// set for whatever it enables. When to-texture, the offscreen context is
// current afterwards (setCameraProjection returns to the window) and the
// window's pixels are not touched.
void shadowScenePass(DemoApp& app, const OffscreenTarget& target, SceneCallback depthCallback,
                     SceneCallback sceneCallback, int depthTexture, int depthSize, int slot, const CameraView& camera,
                     const CameraView& light, bool toTexture, int width, int colourTexture);

// The same pass without the depth pass, for frames with nothing to draw
// from the light: a frame drawn straight into the window then never
// switches to the offscreen context, and one drawn to texture clears its
// depth once instead of twice.
void scenePass(DemoApp& app, const OffscreenTarget& target, SceneCallback sceneCallback, int slot,
               const CameraView& camera, const CameraView& light, bool toTexture, int width, int colourTexture);
