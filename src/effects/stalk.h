#pragma once
#include "math/flag_vec3.h"

struct EffectFrame;

// A growing stalk: a 30-vertex line that leaves a short root line at
// z = 1.4, y = 2.2 steeply and bends into its tip, and a glowing bud (two
// camera-facing quads of texture base + 203) at the tip. World units, drawn
// under the current modelview.

// What differs between the shader rendition and the fixed-function one,
// which has no glow pass to brighten it.
struct StalkLook {
  float lineGrey;  // the line's grey level at full fade
  float budGain;   // the small bright bud quad
  float haloGain;  // the large faint quad around it
};

inline constexpr StalkLook kStalkShaderLook{.lineGrey = 0.4f, .budGain = 0.2f, .haloGain = 0.05f};
inline constexpr StalkLook kStalkFixedLook{.lineGrey = 0.8f, .budGain = 0.5f, .haloGain = 0.04f};

inline constexpr int kStalkVertices = 30;

// The tip at stalk time t. Draws three random01 values (sway angle, height,
// lean, in that order), so the caller's seed decides the stalk's shape.
// Grows in x over t = 0..5 and leans back over t = 6..16.
FlagVec3 stalkTip(double t);

// Vertex i (0 .. kStalkVertices - 1) of the stalk ending near `tip`.
FlagVec3 stalkVertex(const FlagVec3& tip, int i);

// The stalk's brightness at stalk time t: in over the first seconds, out
// before the first hit of the music.
double stalkFade(double t);

// Draws one stalk at stalk time t (see stalkTip for the random draws).
// Depth test off while it draws; blending is the caller's. Leaves the GL
// state as it found it.
void drawStalk(const StalkLook& look, const EffectFrame& frame, double t);
