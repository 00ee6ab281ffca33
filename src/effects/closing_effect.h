#pragma once

struct EffectFrame;

// The closing effect (T > 28): groups of thin additive lines (rays and
// rings) with a faint textured glow (texture base + 200), each group
// flaring on a beat of the outro and expanding, turning and fading as the
// progress (T - 30) * 0.8 runs through `ease` with shape 2.

inline constexpr double kClosingEffectStart = 28.0;  // draws only after this T

// Same geometry in both renditions; the fixed-function one is brighter
// because no glow pass blooms its lines.
struct ClosingLook {
  float haloGain;  // wide faint lines
  float lineGain;  // thin lines
  float quadGain;  // the textured glows
};

inline constexpr ClosingLook kClosingShaderLook{.haloGain = 1.0f, .lineGain = 1.0f, .quadGain = 1.0f};
inline constexpr ClosingLook kClosingFixedLook{.haloGain = 2.0f, .lineGain = 1.7f, .quadGain = 1.4f};

// Draws nothing at T <= kClosingEffectStart. Expects the camera's
// modelview; leaves the GL state and matrices as it found them.
void drawClosingEffect(const ClosingLook& look, const EffectFrame& frame);
