#pragma once
#include <cstdint>

#include "core/picture_size.h"

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
// the width (640: 640 x 480, the picture's width: the picture, else
// square); from width 601 on, modes 1, 2, 3 give 640 x 480, the picture,
// 320 x 240 (another mode follows the width as a negative one does);
// below, width x width, unless the width is the picture's.
PassSize shadowPassViewport(int32_t resolutionMode, int width, const PictureLayout& picture);

// The region copied into the colour texture: width 640 or the picture's
// gives 640 x 480 (mode 1), the picture (mode 2), 320 x 240 (mode 3), or
// follows the width (negative mode); any other width or mode, width x width.
PassSize shadowPassCopySize(int32_t resolutionMode, int width, const PictureLayout& picture);

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
