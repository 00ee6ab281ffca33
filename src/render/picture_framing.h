#pragma once
#include <cstdint>
#include <vector>

// The frame a shot or capture writes from the picture read back: the
// picture, drawn `supersample` times larger than it is written, filtered
// down (each pixel the rounded mean of its supersample x supersample
// pixels) and centred in a frame of frameWidth x frameHeight, black
// around it. RGB, rows top first. The picture's
// pixels may be taken over: it is left unspecified.
void framePicture(std::vector<std::uint8_t>& picture, int pictureWidth, int pictureHeight, int supersample,
                  int frameWidth, int frameHeight, std::vector<std::uint8_t>& frame);
