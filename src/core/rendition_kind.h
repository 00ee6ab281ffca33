#pragma once
#include <cstdint>
#include <string_view>

// The one choice between the two renditions of the choreography, made once
// at start-up: the shader rendition (programs, the scene drawn offscreen,
// the glow) or the fixed function (OpenGL 1.x straight into the window,
// for slow cards).
enum class RenditionKind : int32_t { shader = 0, fixedFunction = 1 };

// Its name on the command line and in the benchmark's figures.
constexpr std::string_view renditionName(RenditionKind kind) {
  return kind == RenditionKind::shader ? "alpha" : "beta";
}
