#pragma once
#include <cstdint>
#include <string>
#include <vector>

// JPEG files as RGB pixel rows for the texture loaders, and the two pixel
// transforms they apply: a second picture's green channel as alpha, and a
// height field turned into a tangent-space normal map. No GL here.

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // width * height * 3 (or * 4 for RGBA)
};

// Which end of the picture the first row of `pixels` holds. GL wants the
// bottom first, so that t = 1 is the picture's top.
enum class RowOrder { TopFirst, BottomFirst };

enum class PictureFailure {
  None,
  Open,    // the file cannot be opened
  Header,  // not a JPEG the decoder reads, or a damaged header
};

struct PictureRead {
  PictureFailure failure = PictureFailure::None;
  int errorCode = 0;  // the decoder's code, for header failures and damage
  // Scan lines that decoded. Below the height when the picture is damaged
  // further in: the rest of it is black, and the file was named on stderr.
  int linesDecoded = 0;
  RgbPicture picture;
};

// Decodes the whole file. A greyscale picture comes out as grey RGB.
// `mirrored` flips every row left to right. A picture damaged past its
// header is reported on stderr (reportPictureDamage).
PictureRead readJpegPicture(const std::string& fileName, RowOrder order, bool mirrored = false);
// The same, silent: safe on any thread, each call with a decoder of its own.
PictureRead decodeJpegPicture(const std::string& fileName, RowOrder order, bool mirrored = false);
// Names the file and the lines lost when `read` came out damaged, and says
// so by returning true; says nothing otherwise.
bool reportPictureDamage(const std::string& fileName, const PictureRead& read);

// The RGBA pixels of a colour picture (bottom row first) with the green
// channel of `alpha` (top row first) as alpha; both must have the same
// size. Alpha scan line r lands on row max(height - 1 - r, 1), so the
// bottom row stays transparent black and row 1 ends with the alpha of the
// picture's bottom scan line.
RgbPicture mergeAlpha(const RgbPicture& colourBottomFirst, const RgbPicture& alphaTopFirst);

// The normal map of a height field in the red channel (top row first),
// bottom row first. Neighbours wrap around both ways: the picture tiles.
// A flat field gives (127, 127, 255).
RgbPicture normalMapFromHeights(const RgbPicture& heightsTopFirst);
