// Outline pictures: silhouettes drawn as one-pixel strokes for the demo's
// outline tracers, on a dark painted ground.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "pictures.h"
#include "rng.h"
#include "shapes.h"

namespace datagen {

namespace {

using namespace shape;
using Sdf = std::function<double(double, double)>;

constexpr int kSize = 512;

// Strokes are "super-white": Y at the top and red far past 255 in YCbCr
// terms, so red decodes as exactly 255 even with the codec's ringing, while
// the glow around them stays far below the tracers' thresholds.
const Rgb kStroke{380.0f, 215.0f, 165.0f};

Chain outlineOf(const Sdf& f) {
  return regionOutline([&](double x, double y) { return f(x, y) < 0.0; }, kSize, kSize);
}

// Dark ground with a faint tint inside the shapes and a halo around strokes.
Image paint(const std::vector<Chain>& chains, const Sdf& fill, Rgb groundA, Rgb groundB, Rgb tint, std::uint32_t seed) {
  Image img(kSize, kSize);
  img.fill([&](int x, int y) {
    const double n = tileFbm(x / 64.0, y / 64.0, 8, 4, seed);
    const double v = std::hypot(x - kSize / 2.0, y - kSize / 2.0) / (kSize * 0.7);
    Rgb c = mix(groundA, groundB, static_cast<float>(clamp01(v + (n - 0.5) * 0.5)));
    if (fill && fill(x + 0.5, y + 0.5) < 0) {
      const double inner = clamp01(-fill(x + 0.5, y + 0.5) / 40.0);
      c = c + tint * static_cast<float>(0.5 + 0.5 * inner) * static_cast<float>(0.7 + 0.6 * n);
    }
    return c;
  });
  Image halo(kSize, kSize);
  for (const Chain& ch : chains)
    for (const Px& p : ch) halo.at(p.x, p.y) = Rgb{1, 1, 1};
  blur(halo, 2, 2);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) img.at(x, y) = img.at(x, y) + Rgb{160, 80, 60} * halo.at(x, y).r;
  for (const Chain& ch : chains)
    for (const Px& p : ch) img.at(p.x, p.y) = kStroke;
  return img;
}

OutlinePicture brightPicture(std::string path, std::vector<Sdf> shapes, const Sdf& fill, Rgb a, Rgb b, Rgb tint,
                             std::uint32_t seed, JpegOptions opt) {
  OutlinePicture out;
  out.path = std::move(path);
  for (const Sdf& s : shapes) out.outlines.push_back(outlineOf(s));
  const std::string err = checkClosedChains(out.outlines, kSize, kSize);
  if (!err.empty()) throw std::logic_error(out.path + ": " + err);
  out.picture.image = paint(out.outlines, fill, a, b, tint, seed);
  out.picture.jpeg = opt;
  return out;
}

// --- the cardinal: a crested songbird on the wing's rest, facing left ---
double cardinalBody(double x, double y) {
  double d = ellipse(x, y, 262, 292, 100, 64, 0.62);
  d = unite(d, ellipse(x, y, 180, 222, 54, 50));
  d = unite(d, taper(x, y, 186, 200, 32, 232, 108, 8));
  d = unite(d, taper(x, y, 150, 232, 20, 104, 246, 6));
  d = unite(d, taper(x, y, 312, 335, 36, 448, 442, 15));
  d = unite(d, taper(x, y, 236, 352, 7, 226, 402, 5));
  d = unite(d, taper(x, y, 262, 350, 7, 262, 404, 5));
  return d;
}
double cardinalWing(double x, double y) {
  return unite(ellipse(x, y, 270, 286, 62, 26, 0.62), taper(x, y, 290, 300, 18, 330, 330, 7));
}
double cardinalEye(double x, double y) { return ellipse(x, y, 166, 210, 9, 9); }

// --- the flower: five rounded petals on a stem with two leaves ---
double flowerPetals(double x, double y) {
  const double dx = x - 256, dy = y - 200;
  const double r = std::hypot(dx, dy), th = std::atan2(dy, dx);
  const double petal = 100 + 52 * std::cos(5 * th + 0.3);
  double d = (r - petal) * 0.6;
  d = unite(d, taper(x, y, 256, 290, 8, 246, 480, 7));
  d = unite(d, ellipse(x, y, 300, 400, 58, 20, -0.6));
  d = unite(d, ellipse(x, y, 196, 430, 50, 17, 0.5));
  return d;
}
double flowerHeart(double x, double y) { return ellipse(x, y, 256, 200, 27, 27); }
double flowerRing(double x, double y) {
  const double dx = x - 256, dy = y - 200;
  const double r = std::hypot(dx, dy), th = std::atan2(dy, dx);
  return (r - (62 + 24 * std::cos(5 * th + 0.3))) * 0.6;
}

// --- the horse: galloping to the right ---
double horseBody(double x, double y) {
  double d = ellipse(x, y, 250, 250, 108, 52);
  d = unite(d, taper(x, y, 318, 228, 42, 372, 150, 26));
  d = unite(d, taper(x, y, 368, 142, 27, 430, 178, 15));
  d = unite(d, taper(x, y, 366, 128, 9, 360, 96, 4));
  // front legs: one reaching forward, one folded under
  d = unite(d, taper(x, y, 328, 268, 18, 372, 318, 9));
  d = unite(d, taper(x, y, 372, 318, 9, 418, 302, 7));
  d = unite(d, taper(x, y, 296, 282, 17, 312, 352, 9));
  d = unite(d, taper(x, y, 312, 352, 9, 290, 414, 7));
  // hind legs: one pushing back, one under the body
  d = unite(d, taper(x, y, 172, 262, 30, 142, 330, 11));
  d = unite(d, taper(x, y, 142, 330, 10, 92, 372, 7));
  d = unite(d, taper(x, y, 214, 282, 24, 214, 350, 10));
  d = unite(d, taper(x, y, 214, 350, 10, 250, 410, 7));
  // tail
  d = unite(d, taper(x, y, 150, 222, 12, 100, 214, 10));
  d = unite(d, taper(x, y, 100, 214, 10, 66, 250, 6));
  return d;
}
double horseEye(double x, double y) { return ellipse(x, y, 392, 150, 6, 6); }
double horseMane(double x, double y) { return taper(x, y, 306, 214, 5, 356, 144, 4); }

// --- the cave: looking out of a cave mouth hung with stalactites ---
double caveMouth(double x, double y) {
  double d = ellipse(x, y, 256, 270, 196, 152);
  const double tops[][3] = {{130, 60, 12}, {185, 58, 16}, {250, 52, 13}, {318, 56, 18}, {380, 70, 11}};
  const double lens[] = {95, 140, 80, 120, 70};
  for (int i = 0; i < 5; ++i)
    d = subtract(d, taper(x, y, tops[i][0], tops[i][1] + 60, tops[i][2], tops[i][0] + 4, tops[i][1] + 60 + lens[i], 4));
  d = subtract(d, taper(x, y, 170, 470, 20, 176, 372, 5));
  d = subtract(d, taper(x, y, 350, 470, 24, 342, 388, 6));
  return d;
}
double caveMoon(double x, double y) { return ellipse(x, y, 282, 300, 22, 22); }
double caveRock(double x, double y) { return ellipse(x, y, 470, 450, 28, 18, 0.3); }
double caveRock2(double x, double y) { return ellipse(x, y, 44, 470, 24, 16, -0.2); }

// --- the logo for tracing: D R O V in outline letters ---
double letterDOuter(double x, double y) {
  return unite(box(x, y, 40, 176, 90, 336), subtract(ellipse(x, y, 90, 256, 50, 80), box(x, y, 0, 0, 90, 512)));
}
double letterDInner(double x, double y) {
  return unite(box(x, y, 62, 198, 90, 314), subtract(ellipse(x, y, 90, 256, 28, 58), box(x, y, 0, 0, 90, 512)));
}
double letterROuter(double x, double y) {
  double d = box(x, y, 150, 176, 172, 336);
  d = unite(d, box(x, y, 150, 176, 205, 262));
  d = unite(d, subtract(ellipse(x, y, 205, 219, 43, 43), box(x, y, 0, 0, 205, 512)));
  d = unite(d, taper(x, y, 196, 258, 12, 238, 326, 11));
  return d;
}
double letterRInner(double x, double y) {
  return unite(box(x, y, 172, 198, 205, 240), subtract(ellipse(x, y, 205, 219, 21, 21), box(x, y, 0, 0, 205, 512)));
}
double letterOOuter(double x, double y) { return ellipse(x, y, 312, 256, 50, 80); }
double letterOInner(double x, double y) { return ellipse(x, y, 312, 256, 27, 57); }
double letterV(double x, double y) {
  double d = unite(taper(x, y, 384, 184, 13, 422, 326, 12), taper(x, y, 460, 184, 13, 422, 326, 12));
  return d;
}

std::vector<Chain> pcbTraces(std::uint32_t seed);

}  // namespace

double horseSilhouette(double x, double y) { return horseBody(x, y); }

std::vector<std::string> outlinePicturePaths() {
  return {"textures/cardinal.jpg", "textures/drovtrace.jpg", "textures/flower.jpg",
          "textures/horse3.jpg",   "textures/cave1.jpg",     "textures/pcb.jpg"};
}

Image paintPcb(const std::vector<Chain>& traces, bool alpha);

Picture pcbAlphaPicture() {
  Picture p;
  p.image = paintPcb(pcbTraces(2006), true);
  p.jpeg = JpegOptions{.quality = 90, .hSamp = 1, .vSamp = 1};
  return p;
}

OutlinePicture outlinePicture(const std::string& path) {
  JpegOptions hi{.quality = 95, .hSamp = 1, .vSamp = 1};
  if (path == "textures/cardinal.jpg") {
    JpegOptions o = hi;
    o.progressive = true;
    return brightPicture(path, {cardinalBody, cardinalWing, cardinalEye}, cardinalBody, {8, 10, 22}, {2, 2, 6},
                         {40, 6, 8}, 11, o);
  }
  if (path == "textures/drovtrace.jpg") {
    JpegOptions o = hi;
    o.restartInterval = 16;
    auto fill = [](double x, double y) {
      double d = subtract(letterDOuter(x, y), letterDInner(x, y));
      d = unite(d, subtract(letterROuter(x, y), letterRInner(x, y)));
      d = unite(d, subtract(letterOOuter(x, y), letterOInner(x, y)));
      return unite(d, letterV(x, y));
    };
    return brightPicture(path,
                         {letterDOuter, letterDInner, letterROuter, letterRInner, letterOOuter, letterOInner, letterV},
                         fill, {4, 8, 18}, {0, 0, 4}, {30, 14, 30}, 12, o);
  }
  if (path == "textures/flower.jpg") {
    return brightPicture(path, {flowerPetals, flowerRing, flowerHeart}, flowerPetals, {6, 14, 10}, {0, 3, 2},
                         {36, 10, 28}, 13, hi);
  }
  if (path == "textures/horse3.jpg") {
    JpegOptions o = hi;
    o.optimize = true;
    return brightPicture(path, {horseBody, horseEye, horseMane}, horseBody, {14, 10, 6}, {3, 2, 1}, {34, 20, 10}, 14,
                         o);
  }
  if (path == "textures/cave1.jpg") {
    auto fill = [](double x, double y) { return caveMouth(x, y); };
    return brightPicture(path, {caveMouth, caveMoon, caveRock, caveRock2}, fill, {16, 12, 10}, {4, 3, 3}, {10, 22, 44},
                         15, hi);
  }
  if (path == "textures/pcb.jpg") {
    OutlinePicture out;
    out.path = path;
    out.grey = true;
    out.outlines = pcbTraces(2006);
    const std::string err = checkGreyTraces(out.outlines, kSize, kSize);
    if (!err.empty()) throw std::logic_error(path + ": " + err);
    out.picture.image = paintPcb(out.outlines, false);
    out.picture.jpeg = JpegOptions{.quality = 97, .hSamp = 1, .vSamp = 1, .restartInterval = 8};
    return out;
  }
  throw std::invalid_argument("not an outline picture: " + path);
}

namespace {

// Copper traces routed on a 4-pixel grid: straight runs and 45-degree bends,
// never closer than one grid cell to another trace.
std::vector<Chain> pcbTraces(std::uint32_t seed) {
  constexpr int kCell = 4, kGrid = kSize / kCell;
  std::vector<int> owner(kGrid * kGrid, -1);
  std::vector<int> stepAt(kGrid * kGrid, 0);
  Rng rng(seed);
  static const int dirs[8][2] = {{1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
  std::vector<Chain> out;
  auto freeFor = [&](int id, int gx, int gy, int step) {
    if (gx < 2 || gy < 2 || gx >= kGrid - 2 || gy >= kGrid - 2) return false;
    for (int dy = -1; dy <= 1; ++dy)
      for (int dx = -1; dx <= 1; ++dx) {
        const int o = owner[(gy + dy) * kGrid + gx + dx];
        if (o < 0) continue;
        if (o != id) return false;
        if (stepAt[(gy + dy) * kGrid + gx + dx] < step - 2) return false;
      }
    return owner[gy * kGrid + gx] < 0;
  };
  for (int attempt = 0; attempt < 400 && out.size() < 60; ++attempt) {
    const int id = static_cast<int>(out.size());
    int gx = 3 + rng.below(kGrid - 6), gy = 3 + rng.below(kGrid - 6);
    int dir = rng.below(4) * 2;  // start straight
    if (!freeFor(id, gx, gy, 0)) continue;
    std::vector<std::pair<int, int>> cells{{gx, gy}};
    owner[gy * kGrid + gx] = id;
    stepAt[gy * kGrid + gx] = 0;
    int run = 0;
    const int target = 18 + rng.below(40);
    for (int s = 1; s < target; ++s) {
      if (run > 3 && rng.uniform() < 0.18) dir = (dir + (rng.uniform() < 0.5 ? 1 : 7)) % 8;
      const int nx = gx + dirs[dir][0], ny = gy + dirs[dir][1];
      bool ok = freeFor(id, nx, ny, s);
      if (ok && (dir % 2)) {
        // a diagonal must not slip between two cells of another trace
        const int a = owner[gy * kGrid + nx], b = owner[ny * kGrid + gx];
        ok = (a < 0 || a == id) && (b < 0 || b == id);
      }
      if (!ok) break;
      gx = nx;
      gy = ny;
      owner[gy * kGrid + gx] = id;
      stepAt[gy * kGrid + gx] = s;
      cells.push_back({gx, gy});
      ++run;
      if (dir % 2) run = run > 6 ? 0 : run;
    }
    if (cells.size() < 8) {
      for (auto [cx, cy] : cells) owner[cy * kGrid + cx] = -2;  // keep the space empty
      continue;
    }
    // the start pixel (grey) sits one pixel before the first cell centre
    Chain chain;
    const int d0x = cells[1].first - cells[0].first, d0y = cells[1].second - cells[0].second;
    int px = cells[0].first * kCell + 2, py = cells[0].second * kCell + 2;
    if (d0x != 0 && d0y != 0) {
      chain.push_back({px - d0x, py});
    } else {
      chain.push_back({px - d0x, py - d0y});
    }
    chain.push_back({px, py});
    for (size_t i = 1; i < cells.size(); ++i) {
      const int tx = cells[i].first * kCell + 2, ty = cells[i].second * kCell + 2;
      while (px != tx || py != ty) {
        // staircase: x first, then y, one pixel at a time
        if (px != tx && (std::abs(tx - px) >= std::abs(ty - py)))
          px += (tx > px) ? 1 : -1;
        else
          py += (ty > py) ? 1 : -1;
        chain.push_back({px, py});
      }
    }
    out.push_back(std::move(chain));
  }
  return out;
}

}  // namespace

Image paintPcb(const std::vector<Chain>& traces, bool alpha) {
  Image img(kSize, kSize);
  Rng rng(77);
  if (!alpha) {
    img.fill([&](int x, int y) {
      const double n = tileFbm(x / 32.0, y / 32.0, 16, 3, 91);
      const double weave = 0.5 + 0.5 * std::sin(x * 0.9) * std::sin(y * 0.9);
      return Rgb{static_cast<float>(8 + 10 * n), static_cast<float>(34 + 24 * n + 4 * weave),
                 static_cast<float>(22 + 14 * n)};
    });
    // chip packages and their pins, all well below the tracers' thresholds
    for (int k = 0; k < 7; ++k) {
      const int cx = 60 + rng.below(390), cy = 60 + rng.below(390);
      const int hw = 14 + rng.below(22), hh = 10 + rng.below(18);
      for (int y = cy - hh; y <= cy + hh; ++y)
        for (int x = cx - hw; x <= cx + hw; ++x)
          if (img.inside(x, y)) img.at(x, y) = Rgb{22, 22, 26};
      for (int x = cx - hw + 3; x < cx + hw - 2; x += 5)
        for (int t = 0; t < 3; ++t) {
          img.blend(x, cy - hh - 1 - t, Rgb{60, 56, 40}, 1);
          img.blend(x, cy + hh + 1 + t, Rgb{60, 56, 40}, 1);
        }
    }
  }
  Image glow(kSize, kSize);
  for (const Chain& c : traces)
    for (const Px& p : c) glow.at(p.x, p.y) = Rgb{1, 1, 1};
  blur(glow, 2, 2);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const float g = glow.at(x, y).r;
      if (alpha)
        img.at(x, y) = Rgb{255, 255, 255} * std::min(1.0f, g * 2.2f);
      else
        img.at(x, y) = img.at(x, y) + Rgb{40, 36, 10} * g;
    }
  for (const Chain& c : traces) {
    for (size_t i = 1; i < c.size(); ++i) img.at(c[i].x, c[i].y) = alpha ? Rgb{255, 255, 255} : Rgb{330, 210, 110};
    img.at(c[0].x, c[0].y) = alpha ? Rgb{255, 255, 255} : Rgb{128, 128, 128};
  }
  return img;
}

}  // namespace datagen
