#pragma once

// Multiplies the picture by 1 - level: a quad covering the whole viewport,
// whatever the matrices hold, drawn with a (ZERO, ONE_MINUS_SRC_COLOR)
// blend. GL state and matrices are restored afterwards.
void drawFadeOverlay(double level);
