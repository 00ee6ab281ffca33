#pragma once
#include <cstdint>
#include <string>

#include "gpu/framebuffer_object.h"

// The offscreen surface that scenes are drawn into before they are copied
// into textures, and the window it sits beside.
//
// The offscreen side is a second GL context that shares textures (and
// every other shareable object) with the window's context and is made
// current on the same window; it draws into a framebuffer object of its
// own (RGBA8 colour, depth 24 + stencil 8) that stays bound in that
// context. Switching targets therefore switches the whole GL state, as
// with two contexts: clear colour, matrices, enables and viewport are kept
// apart, textures are common.
struct OffscreenTarget {
  void* pbufferDC = nullptr;  // the surface the offscreen context is made current on
  void* pbufferRC = nullptr;  // the offscreen context
  void* windowDC = nullptr;   // the window
  void* windowRC = nullptr;   // the window's context
  // The offscreen context's framebuffer object; its size is the picture's
  // render targets' (1024 x 1024 for the 800 x 600 picture).
  FramebufferObject pbuffer;
};

// Made once, width x height, right after the window's context, with that
// context current (it stays current). Also puts the window context's pixel
// transfer and pack state and its enables in the state the copies expect. False, with
// the reason in `error` and the target left empty, when no context is
// current or the offscreen surface cannot be made.
bool createOffscreenTarget(OffscreenTarget& target, int width, int height, std::string& error);

// Gives the surface a new size (its pixels are lost), leaving the window
// context current. False, with the reason in `error` and the old size
// kept, when the driver refuses it.
bool resizeOffscreenTarget(OffscreenTarget& target, int width, int height, std::string& error);

// Releases what createOffscreenTarget made, with the window context current
// afterwards. The demo never needs it; tests do.
void destroyOffscreenTarget(OffscreenTarget& target);

// Draw into the offscreen surface (its framebuffer object bound again,
// whatever the context did with it since), or back into the window.
bool makePbufferCurrent(const OffscreenTarget& target);
bool makeWindowCurrent(const OffscreenTarget& target);

// The lower-left width x height pixels of the current target into level 0
// of the texture (a GL name), at its lower-left corner. A copy 800 wide is
// always 600 rows high: the production's picture.
void copyFramebufferToTexture(std::uint32_t textureName, int width, int height);

// Replaces the texture's level 0 with RGB pixels, rows packed tightly,
// bottom row first.
void uploadRgbTexture(std::uint32_t textureName, int width, int height, const std::uint8_t* pixels);
