#include "render/picture_framing.h"

#include <algorithm>

void framePicture(std::vector<std::uint8_t>& picture, int pictureWidth, int pictureHeight, int supersample,
                  int frameWidth, int frameHeight, std::vector<std::uint8_t>& frame) {
  const int n = std::max(supersample, 1);
  const int width = pictureWidth / n;
  const int height = pictureHeight / n;
  // The usual case, a picture written as drawn, costs no copy.
  if (n == 1 && width == frameWidth && height == frameHeight) {
    frame.swap(picture);
    return;
  }
  frame.assign(size_t(frameWidth) * size_t(frameHeight) * 3, 0);
  const int left = (frameWidth - width) / 2;
  const int top = (frameHeight - height) / 2;
  const unsigned area = unsigned(n * n);
  for (int y = 0; y < height; ++y) {
    if (top + y < 0 || top + y >= frameHeight) continue;
    for (int x = 0; x < width; ++x) {
      if (left + x < 0 || left + x >= frameWidth) continue;
      std::uint8_t* out = &frame[(size_t(top + y) * size_t(frameWidth) + size_t(left + x)) * 3];
      for (int c = 0; c < 3; ++c) {
        unsigned sum = 0;
        for (int dy = 0; dy < n; ++dy) {
          const std::uint8_t* row =
              &picture[(size_t(y * n + dy) * size_t(pictureWidth) + size_t(x * n)) * 3 + size_t(c)];
          for (int dx = 0; dx < n; ++dx) sum += row[dx * 3];
        }
        out[c] = std::uint8_t((sum + area / 2) / area);
      }
    }
  }
}
