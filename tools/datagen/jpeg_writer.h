#pragma once
#include <cstdint>
#include <vector>

#include "image.h"

namespace datagen {

// How one picture is encoded. The production's pictures deliberately vary
// these so that the demo's own decoder meets every path it supports:
// the four luma sampling layouts, progressive scans and restart markers.
struct JpegOptions {
  int quality = 90;
  int hSamp = 2;  // luma sampling factors; chroma is always 1 x 1
  int vSamp = 2;
  bool progressive = false;
  int restartInterval = 0;  // in MCUs, 0 = none
  bool optimize = false;    // optimised Huffman tables
};

// Encodes the canvas as a 3-component YCbCr JPEG. The colour conversion is
// done here, before clamping, so values above 255 survive as saturated
// chroma (see Image).
std::vector<std::uint8_t> encodeJpeg(const Image& img, const JpegOptions& opt);

}  // namespace datagen
