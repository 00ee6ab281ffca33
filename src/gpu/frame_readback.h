#pragma once
#include <cstdint>
#include <vector>

// The picture the window is about to show: the back buffer of the current
// context, read after the frame is composed and before the swap. Rows come
// top first (GL's own order is bottom first), three bytes a pixel (RGB).
void readBackBuffer(int width, int height, std::vector<uint8_t>& rgb);
