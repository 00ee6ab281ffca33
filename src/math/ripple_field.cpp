#include "math/ripple_field.h"

#include <cmath>

namespace {

struct StampCell {
  int8_t dx, dy;
  double weight;
};

// One table per drop size: each cell of the stamp with its fraction of the
// amplitude. A table keeps the edge clipping in one place.
constexpr StampCell kStamp1[] = {{0, 0, 1.0}};
constexpr StampCell kStamp2[] = {{0, 0, 1.0}, {-1, 0, 0.5}, {1, 0, 0.5}, {0, -1, 0.5}, {0, 1, 0.5}};
constexpr StampCell kStamp3[] = {{0, 0, 1.0},   {-1, 0, 0.75}, {1, 0, 0.75}, {0, -1, 0.75}, {0, 1, 0.75},
                                 {-2, 0, 0.4},  {2, 0, 0.4},   {0, -2, 0.4}, {0, 2, 0.4},   {-1, -1, 0.45},
                                 {1, -1, 0.45}, {-1, 1, 0.45}, {1, 1, 0.45}};
constexpr StampCell kStamp4[] = {{0, 0, 1.0},   {-1, 0, 0.8},   {1, 0, 0.8},    {0, -1, 0.8},   {0, 1, 0.8},
                                 {-2, 0, 0.5},  {2, 0, 0.5},    {0, -2, 0.5},   {0, 2, 0.5},    {-3, 0, 0.3},
                                 {3, 0, 0.3},   {0, -3, 0.3},   {0, 3, 0.3},    {-1, -1, 0.65}, {1, -1, 0.65},
                                 {-1, 1, 0.65}, {1, 1, 0.65},   {-2, -1, 0.55}, {2, -1, 0.55},  {-2, 1, 0.55},
                                 {2, 1, 0.55},  {-1, -2, 0.55}, {1, -2, 0.55},  {-1, 2, 0.55},  {1, 2, 0.55}};

template <int N>
void stamp(RippleField& field, int32_t x, int32_t y, const StampCell (&cells)[N], double amplitude) {
  std::vector<double>& h = field.heights[field.current];
  const int64_t w = field.width, rows = field.height;
  for (const StampCell& cell : cells) {
    const int64_t cx = int64_t(x) + cell.dx, cy = int64_t(y) + cell.dy;
    if (cx < 0 || cy < 0 || cx >= w || cy >= rows) continue;
    h[size_t(cy * w + cx)] = cell.weight * amplitude;
  }
}

}  // namespace

RippleField::RippleField(double interval, uint32_t w, uint32_t h)
    : width(w), height(h), normalBytes(size_t(w) * h * 3, 0), dropInterval(interval) {
  heights[0].assign(size_t(w) * h, 0.0);
  heights[1].assign(size_t(w) * h, 0.0);
}

void RippleField::drop(int32_t x, int32_t y, int size, double amplitude) {
  switch (size) {
    case 1:
      stamp(*this, x, y, kStamp1, amplitude);
      break;
    case 2:
      stamp(*this, x, y, kStamp2, amplitude);
      break;
    case 3:
      stamp(*this, x, y, kStamp3, amplitude);
      break;
    case 4:
      stamp(*this, x, y, kStamp4, amplitude);
      break;
    default:
      break;
  }
}

void RippleField::step(double damping) {
  const double* s = heights[1 - current].data();
  double* d = heights[current].data();
  current = uint8_t(1 - current);
  if (width < 3 || height < 3) return;
  const size_t w = width;
  for (size_t y = 1; y + 1 < height; ++y) {
    for (size_t i = y * w + 1, end = y * w + w - 1; i < end; ++i) {
      d[i] = ((s[i - 1] + s[i + 1] + s[i - w] + s[i + w]) * 0.5 - d[i]) * damping;
    }
  }
}

void RippleField::normalMap(double nz) {
  if (width < 5 || height < 5) return;
  const double* h = heights[current].data();
  const size_t w = width;
  const double nz2 = nz * nz;
  for (size_t y = 2; y + 2 < height; ++y) {
    const double* up = h + (y - 1) * w;
    const double* mid = h + y * w;
    const double* down = h + (y + 1) * w;
    uint8_t* texel = normalBytes.data() + (y * w + 2) * 3;
    for (size_t x = 2; x + 2 < w; ++x, texel += 3) {
      const double gx = -((up[x + 1] + 2.0 * mid[x + 1] + down[x + 1]) - (up[x - 1] + 2.0 * mid[x - 1] + down[x - 1]));
      const double gy = -((down[x - 1] + 2.0 * down[x] + down[x + 1]) - (up[x - 1] + 2.0 * up[x] + up[x + 1]));
      const double length2 = gx * gx + gy * gy + nz2;
      // A flat cell with nz = 0 has no normal; give it the zero vector's
      // texel instead of dividing by zero.
      const double k = length2 > 0.0 ? 1.0 / std::sqrt(length2) : 0.0;
      texel[0] = uint8_t(int((gx * k + 1.0) * 0.5 * 255.0));
      texel[1] = uint8_t(int((gy * k + 1.0) * 0.5 * 255.0));
      texel[2] = uint8_t(int((nz * k + 1.0) * 0.5 * 255.0));
    }
  }
}
