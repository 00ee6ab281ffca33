#pragma once
#include <cstdint>
#include <string>

// The production's own picture: 800 x 600 pixels, 4:3. The window opens at
// this size, shots and captures are written at it unless asked otherwise,
// and everything the production sizes in pixels (line widths, point sizes)
// was chosen at it.
inline constexpr int kPictureWidth = 800;
inline constexpr int kPictureHeight = 600;

// The smallest picture drawn: the glow's 128-pixel square must fit the
// offscreen surface, and a window shrunk further shows this one scaled.
inline constexpr int kLeastPictureHeight = 120;

// A rectangle in pixels, from the lower-left corner.
struct PictureRect {
  int x = 0;
  int y = 0;
  int width = kPictureWidth;
  int height = kPictureHeight;
};

// The largest 4:3 picture inside width x height, centred: what is left
// over are the black bars. Never below kLeastPictureHeight rows (it then
// sticks out of a smaller area, still centred).
PictureRect fitPicture(int width, int height);

// The picture the passes draw and the textures its screen copies go into:
// the offscreen surface and the copy textures are `targetWidth` x
// `targetHeight`, of which the picture fills the lower-left corner.
struct PictureLayout {
  int width = kPictureWidth;
  int height = kPictureHeight;
  int targetWidth = 1024;
  int targetHeight = 1024;

  // Line widths and point sizes are given in pixels of the 600-row
  // picture: a larger picture draws them wider, and looks the same.
  float pixelScale() const { return float(height) / float(kPictureHeight); }
};

// Up to 1024 the targets are powers of two, as the production always made
// them (an 800 x 600 picture keeps its 1024 x 1024 targets, and with them
// every pixel it ever drew); above, where the card takes textures of any
// size, they are the picture's own size, which at 2880 x 2160 is two
// fifths of the memory of the power of two.
PictureLayout layoutPicture(int width, int height, bool anySizeTextures);

// Which part of the screen-copy target holds the screen for a resolution
// mode: 1 = 640 x 480, 2 = the picture, 3 = 320 x 240; a negative mode
// follows the width (640: 640 x 480, the picture's: the picture, else
// square), as does any other mode.
struct CopySize {
  int width;
  int height;
};
CopySize resolutionModeSize(int32_t mode, int width, const PictureLayout& picture);

// "1920x1080" (also with 'X') into its two numbers, each 1 to 16384;
// false for anything else.
bool parsePictureSize(const std::string& text, int& width, int& height);
