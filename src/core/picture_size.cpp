#include "core/picture_size.h"

#include <algorithm>
#include <charconv>

namespace {
int nextPowerOfTwo(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

int targetSide(int n, bool anySize) { return anySize && n > 1024 ? n : nextPowerOfTwo(n); }

bool parseSide(const char* first, const char* last, int& value) {
  const auto [end, error] = std::from_chars(first, last, value);
  return error == std::errc{} && end == last && value >= 1 && value <= 16384;
}
}  // namespace

PictureRect fitPicture(int width, int height) {
  PictureRect r;
  // Four columns for every three rows, rounded down, whichever side limits.
  r.height = std::max(std::min(height, width * 3 / 4), kLeastPictureHeight);
  r.width = r.height * 4 / 3;
  r.x = (width - r.width) / 2;
  r.y = (height - r.height) / 2;
  return r;
}

PictureLayout layoutPicture(int width, int height, bool anySizeTextures) {
  PictureLayout p;
  p.width = width;
  p.height = height;
  p.targetWidth = targetSide(width, anySizeTextures);
  p.targetHeight = targetSide(height, anySizeTextures);
  return p;
}

CopySize resolutionModeSize(int32_t mode, int width, const PictureLayout& picture) {
  if (mode == 1) return {640, 480};
  if (mode == 2) return {picture.width, picture.height};
  if (mode == 3) return {320, 240};
  if (width == 640) return {640, 480};
  if (width == picture.width) return {picture.width, picture.height};
  return {width, width};
}

bool parsePictureSize(const std::string& text, int& width, int& height) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  const char* s = text.data();
  return parseSide(s, s + x, width) && parseSide(s + x + 1, s + text.size(), height);
}
