#include "geometry/outline_tracer.h"

namespace {

struct Step {
  int dx, dy;
};

constexpr Step kEightWay[] = {{0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}};
constexpr Step kFourWay[] = {{0, -1}, {1, 0}, {0, 1}, {-1, 0}};

template <typename StartTest>
void trace(uint8_t* rgb, int width, int height, std::vector<SplinePath>& paths, StartTest starts, int followAbove,
           uint8_t mark, const Step* order, int directions) {
  if (rgb == nullptr || width <= 0 || height <= 0) return;
  const auto red = [&](int x, int y) -> uint8_t& { return rgb[(size_t(y) * size_t(width) + size_t(x)) * 3]; };
  const auto follows = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < width && y < height && red(x, y) > followAbove;
  };
  for (int sx = 0; sx < width; ++sx) {
    for (int sy = 0; sy < height; ++sy) {
      if (!starts(red(sx, sy))) continue;
      SplinePath& path = paths.emplace_back(3);
      path.closed = true;
      int x = sx, y = sy;
      for (;;) {
        // The mark is below the follow threshold, so the chain never loops.
        red(x, y) = mark;
        path.points.push_back(FlagVec3{1, float(width / 2 - x), float(y - height / 2), 0.0f});
        ++path.count;
        int k = 0;
        while (k < directions && !follows(x + order[k].dx, y + order[k].dy)) ++k;
        if (k == directions) break;
        x += order[k].dx;
        y += order[k].dy;
      }
    }
  }
}

}  // namespace

void traceBrightOutlines(uint8_t* rgb, int width, int height, std::vector<SplinePath>& paths) {
  trace(
      rgb, width, height, paths, [](uint8_t r) { return r == 255; }, 200, 128, kEightWay, 8);
}

void traceGreyOutlines(uint8_t* rgb, int width, int height, std::vector<SplinePath>& paths) {
  trace(
      rgb, width, height, paths, [](uint8_t r) { return r > 110 && r < 145; }, 220, 180, kFourWay, 4);
}
