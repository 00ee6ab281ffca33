#pragma once

// Multiplies the picture by 1 - level: a screen-covering quad drawn with
// a (ZERO, ONE_MINUS_SRC_COLOR) blend. GL state is restored afterwards.
void drawFadeOverlay(double level);
