#pragma once
#include "effects/stalk.h"

struct EffectFrame;

// The opening effect (T <= 10): a drawing coming alive in the dark in front
// of the opening camera. In order: faint picture quads that trade places on
// the first bass tick (T = 6.5), two growing stalks with glowing buds, and
// ribbons of thin additive lines that trace the outlines of five pictures
// one after another, pulse with the beat from 6.0 and flare at the first
// hit (9.2) before the effect ends.

inline constexpr double kOpeningEffectEnd = 10.0;  // the last T it draws at

// The two renditions draw the same geometry in the same order; the
// fixed-function one has no glow pass and is brighter to make up for it.
struct OpeningLook {
  StalkLook stalk;
  float quadGain;    // picture quads
  float haloGain;    // the wide faint ribbon pass
  float ribbonGain;  // the thin bright ribbon pass
};

inline constexpr OpeningLook kOpeningShaderLook{
    .stalk = kStalkShaderLook, .quadGain = 1.0f, .haloGain = 1.0f, .ribbonGain = 1.0f};
inline constexpr OpeningLook kOpeningFixedLook{
    .stalk = kStalkFixedLook, .quadGain = 1.5f, .haloGain = 2.2f, .ribbonGain = 1.8f};

// Draws nothing after kOpeningEffectEnd. Expects the camera's modelview;
// leaves the GL state and matrices as it found them.
void drawOpeningEffect(const OpeningLook& look, const EffectFrame& frame);
