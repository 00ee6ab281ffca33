#pragma once
#include <cstdint>

struct SceneFrame;

// Layer 7: the fog every later layer is seen through, and the night sky
// box around the scene. At 18 s (the drop) the box jumps from 100 to 230
// units and the fog thins, so the world opens wide; from 28.6 s the box
// fades out, and from 30.6 s it is not drawn at all.

double fogDensity(double T);
double skyBoxSize(double T);
// What the sky box's colour is multiplied by; it is skipped at 0.0001 or less.
double skyBoxFade(double T);
bool skyBoxDrawn(double T);

void drawFogAndBackdrop(SceneFrame& frame);
