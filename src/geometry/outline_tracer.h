#pragma once
#include <cstdint>
#include <vector>

#include "geometry/spline_path.h"

// Outline tracers: turn chains of marked pixels in an RGB image (3 bytes per
// pixel, rows of width pixels, no padding) into closed SplinePaths, one per
// chain. Pixels are scanned column by column; a chain is followed from its
// first pixel to its end, and every visited pixel's red byte is overwritten
// with a visit mark so that it neither starts nor joins another outline.
// Control points are centred on the image: {1, width/2 - x, y - height/2, 0}.
// Pixels outside the image count as below every threshold.

// Starts at red == 255, follows red > 200 in the eight directions (clockwise
// from up), marks with 128.
void traceBrightOutlines(uint8_t* rgb, int width, int height, std::vector<SplinePath>& paths);

// Starts at 110 < red < 145, follows red > 220 up, right, down or left,
// marks with 180.
void traceGreyOutlines(uint8_t* rgb, int width, int height, std::vector<SplinePath>& paths);
