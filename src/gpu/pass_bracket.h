#pragma once
#include <cstdint>

struct OffscreenTarget;

// A pass's bracket: where it draws, the viewport and clear it starts from,
// and the texture its picture is copied into when it ends. The passes read
// as a few of these around their drawing.
struct PassDescriptor {
  enum class Surface { Window, Offscreen };
  Surface surface = Surface::Offscreen;
  // 0 x 0 keeps the surface's viewport as it is.
  int viewportWidth = 0;
  int viewportHeight = 0;
  // GL_COLOR_BUFFER_BIT and/or GL_DEPTH_BUFFER_BIT; 0 clears nothing.
  uint32_t clear = 0;
  // Copied at the end into this GL texture's lower-left corner (0: none),
  // copyWidth x copyHeight (a copy 800 wide is always 600 rows high).
  uint32_t copyTexture = 0;
  int copyWidth = 0;
  int copyHeight = 0;
};

// The attribute groups a pass saves and puts back: all a pass's drawing
// may change.
extern const std::uint32_t kPassAttributeBits;

// Makes the surface's context current, saves its attribute state,
// sets the viewport and clears (colour and depth writes on for the clear,
// whatever the context had). Everything the pass's drawing changes in the
// attributes ends with endPass: a pass cannot hand state to the next pass
// or the next frame.
void beginPass(const OffscreenTarget& target, const PassDescriptor& pass);
// The copy, when the pass has one, then the attributes back as beginPass
// found them; the surface stays current.
void endPass(const PassDescriptor& pass);
