#pragma once
#include <cstdint>
#include <string>
#include <vector>

// An RGB picture (rows top first, three bytes a pixel) as a PNG file's
// bytes, through stb_image_write. The same pixels give the same bytes.
std::vector<uint8_t> encodePng(const uint8_t* rgb, int width, int height);
