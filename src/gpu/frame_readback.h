#pragma once
#include <cstdint>
#include <vector>

// The picture a frame drew, read after the frame is composed and before
// the swap: from the framebuffer object `framebuffer` of the current
// context, or with 0 from the window's back buffer. Rows come top first
// (GL's own order is bottom first), three bytes a pixel (RGB).
void readPicture(std::uint32_t framebuffer, int width, int height, std::vector<uint8_t>& rgb);
