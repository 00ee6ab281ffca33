#pragma once
#include <cstdint>
#include <string>

// A framebuffer object of the current context with its two renderbuffers:
// colour (RGBA8) and depth with stencil (24 + 8). Framebuffer objects
// belong to the context that made them; the renderbuffers are shared.
struct FramebufferObject {
  std::uint32_t framebuffer = 0;
  std::uint32_t colour = 0;
  std::uint32_t depthStencil = 0;
  int width = 0;
  int height = 0;
};

// Makes the object when it has no names yet, gives it width x height (what
// it held is lost) and leaves it bound for drawing and reading. False,
// with the reason in `error`, when the driver refuses; the names stay for
// another size or deleteFramebufferObject.
bool sizeFramebufferObject(FramebufferObject& f, int width, int height, std::string& error);

// Deletes what the object holds; the context's own framebuffer is bound.
void deleteFramebufferObject(FramebufferObject& f);
