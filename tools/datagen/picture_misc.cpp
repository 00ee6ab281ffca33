// Sprites, backdrops, title pictures and the material maps of the meshes.
#include <algorithm>
#include <cmath>
#include <map>

#include "pictures.h"
#include "rng.h"
#include "shapes.h"

namespace datagen {

namespace {

Rgb grey(double v) { return Rgb{static_cast<float>(v), static_cast<float>(v), static_cast<float>(v)}; }
Rgb rgb(double r, double g, double b) {
  return Rgb{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
}

Picture make(Image img, JpegOptions opt) { return Picture{std::move(img), opt}; }

// Glyphs on a 4 x 6 grid, y down; each is a list of polylines.
using Stroke = std::vector<std::pair<double, double>>;
std::vector<Stroke> ellipseStroke(double cx, double cy, double rx, double ry) {
  Stroke s;
  for (int i = 0; i <= 32; ++i) s.push_back({cx + rx * std::cos(i * kPi / 16), cy + ry * std::sin(i * kPi / 16)});
  return {s};
}
const std::map<char, std::vector<Stroke>>& glyphs() {
  static const std::map<char, std::vector<Stroke>> g = {
      {'V', {{{0, 0}, {2, 6}, {4, 0}}}},
      {'E', {{{4, 0}, {0, 0}, {0, 6}, {4, 6}}, {{0, 3}, {3, 3}}}},
      {'L', {{{0, 0}, {0, 6}, {4, 6}}}},
      {'M', {{{0, 6}, {0, 0}, {2, 3.5}, {4, 0}, {4, 6}}}},
      {'O', ellipseStroke(2, 3, 2, 3)},
      {'0', ellipseStroke(2, 3, 1.8, 3)},
      {'R', {{{0, 6}, {0, 0}, {2.8, 0}, {3.7, 0.4}, {4, 1.5}, {3.7, 2.6}, {2.8, 3}, {0, 3}}, {{2.2, 3}, {4, 6}}}},
      {'A', {{{0, 6}, {2, 0}, {4, 6}}, {{0.7, 4}, {3.3, 4}}}},
      {'D', {{{0, 0}, {0, 6}, {1.8, 6}, {3.3, 5.3}, {4, 3}, {3.3, 0.7}, {1.8, 0}, {0, 0}}}},
      {'2', {{{0.1, 1.2}, {0.7, 0.2}, {2, 0}, {3.4, 0.3}, {4, 1.4}, {3.5, 2.6}, {0, 6}, {4, 6}}}},
      {'6',
       {{{3.7, 0.5},
         {2.4, 0},
         {1, 0.5},
         {0.2, 2.4},
         {0, 4.2},
         {0.6, 5.6},
         {2, 6},
         {3.4, 5.6},
         {4, 4.4},
         {3.5, 3.2},
         {2, 2.8},
         {0.6, 3.3},
         {0.05, 4.2}}}},
  };
  return g;
}

}  // namespace

void drawText(Image& img, const std::string& text, double x, double y, double h, double stroke, Rgb c) {
  const double u = h / 6.0;
  for (char ch : text) {
    auto it = glyphs().find(ch);
    if (it != glyphs().end())
      for (const Stroke& s : it->second)
        for (size_t i = 1; i < s.size(); ++i)
          strokeSegment(img, x + s[i - 1].first * u, y + s[i - 1].second * u, x + s[i].first * u, y + s[i].second * u,
                        stroke, c);
    x += 6.0 * u;
  }
}

namespace {
double textWidth(const std::string& t, double h) { return (t.size() * 6.0 - 2.0) * h / 6.0; }

// Adds a soft glow of everything brighter than the ground.
void bloom(Image& img, int radius, float gain) {
  Image g = img;
  blur(g, radius, 3);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) img.at(x, y) = img.at(x, y) + g.at(x, y) * gain;
}
}  // namespace

Picture loadingPicture() {
  constexpr int S = 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double n = tileFbm(x / 80.0, y / 80.0, 8, 5, 21);
    const double v = 1 - std::min(1.0, std::hypot(x - S / 2.0, y - S * 0.45) / (S * 0.62));
    return rgb(6 + 20 * v * n, 12 + 34 * v * n, 26 + 70 * v * n);
  });
  Image ink(S, S);
  // a thin ring of light behind the title, broken where the letters sit
  for (int i = 0; i < 720; ++i) {
    const double a0 = i * kPi / 360, a1 = (i + 1) * kPi / 360;
    if (std::abs(std::sin(a0)) < 0.22) continue;
    strokeSegment(ink, 256 + 190 * std::cos(a0), 230 + 190 * std::sin(a0), 256 + 190 * std::cos(a1),
                  230 + 190 * std::sin(a1), 1.2, rgb(90, 150, 230));
  }
  const std::string title = "VELMORA";
  drawText(ink, title, (S - textWidth(title, 54)) / 2, 203, 54, 2.6, rgb(235, 240, 255));
  const std::string by = "DROV 2006";
  drawText(ink, by, (S - textWidth(by, 18)) / 2, 442, 18, 1.3, rgb(150, 170, 210));
  bloom(ink, 6, 0.9f);
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) img.at(x, y) = img.at(x, y) + ink.at(x, y);
  return make(std::move(img), JpegOptions{.quality = 92, .hSamp = 2, .vSamp = 2, .restartInterval = 32});
}

Picture logoPicture() {
  constexpr int W = 512, H = 256;
  Image img(W, H);
  img.fill([&](int x, int y) {
    const double v = std::exp(-std::pow((y - H / 2.0) / 70.0, 2)) * (0.6 + 0.4 * tileFbm(x / 64.0, y / 64.0, 8, 3, 5));
    return rgb(10 + 40 * v, 4 + 12 * v, 14 + 30 * v);
  });
  Image ink(W, H);
  drawText(ink, "DROV", (W - textWidth("DROV", 130)) / 2, 60, 130, 7, rgb(255, 190, 120));
  strokeSegment(ink, 60, 212, 452, 212, 1.5, rgb(200, 90, 60));
  bloom(ink, 8, 1.2f);
  drawText(ink, "DROV", (W - textWidth("DROV", 130)) / 2, 60, 130, 2.5, rgb(255, 250, 235));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) img.at(x, y) = img.at(x, y) + ink.at(x, y);
  return make(std::move(img), JpegOptions{.quality = 92, .hSamp = 2, .vSamp = 1});
}

Picture blobPicture() {
  constexpr int S = 256;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double r = std::hypot(x + 0.5 - S / 2.0, y + 0.5 - S / 2.0) / (S / 2.0);
    const double v = std::pow(std::max(0.0, 1 - r * r), 2.2);
    return grey(255 * v);
  });
  return make(std::move(img), JpegOptions{.quality = 92, .hSamp = 1, .vSamp = 1});
}

Picture blobGlowPicture() {
  constexpr int S = 256;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double dx = x + 0.5 - S / 2.0, dy = y + 0.5 - S / 2.0;
    const double r = std::hypot(dx, dy) / (S / 2.0), a = std::atan2(dy, dx);
    const double core = std::exp(-r * r * 30);
    const double halo = std::pow(std::max(0.0, 1 - r), 3) * 0.45;
    const double rays = std::pow(std::abs(std::cos(2 * a)), 60) * std::max(0.0, 1 - r) * 0.5;
    const double ring = std::exp(-std::pow((r - 0.62) / 0.03, 2)) * 0.12;
    const double v = core + halo + rays + ring;
    return rgb(255 * std::min(1.0, v * 0.9), 255 * std::min(1.0, v * 0.95), 255 * std::min(1.0, v));
  });
  return make(std::move(img), JpegOptions{.quality = 90, .hSamp = 2, .vSamp = 2, .progressive = true});
}

Picture cloudsPicture(bool alpha) {
  constexpr int S = 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double d = tileFbm(x / 128.0, y / 128.0, 4, 6, 33);
    // fade to nothing at the border so the sprite has no edges
    const double e = std::min({x, y, S - 1 - x, S - 1 - y}) / (S * 0.25);
    const double density = clamp01((d - 0.42) * 3.0) * smoothstep(0.0, 1.0, e);
    if (alpha) return grey(255 * density);
    const double lit = tileFbm(x / 64.0 + 3, y / 64.0, 8, 4, 34);
    return rgb(120 + 110 * lit, 135 + 105 * lit, 165 + 90 * lit);
  });
  if (alpha) return make(std::move(img), JpegOptions{.quality = 90, .hSamp = 1, .vSamp = 2});
  return make(std::move(img), JpegOptions{.quality = 85, .hSamp = 1, .vSamp = 2, .progressive = true});
}

Picture bloodPicture() {
  constexpr int S = 256;
  Image dens(S, S);
  Rng rng(666);
  auto drop = [&](double cx, double cy, double r) {
    for (int y = static_cast<int>(cy - r - 2); y <= cy + r + 2; ++y)
      for (int x = static_cast<int>(cx - r - 2); x <= cx + r + 2; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        const double v = 1 - smoothstep(r - 1.5, r + 1.0, d);
        if (dens.inside(x, y)) dens.at(x, y).r = std::max(dens.at(x, y).r, static_cast<float>(v));
      }
  };
  drop(128, 128, 46);
  for (int i = 0; i < 40; ++i) {
    const double a = rng.range(0, 2 * kPi), reach = rng.range(40, 110);
    const double r0 = rng.range(4, 11);
    for (double t = 0; t < reach; t += 2)
      drop(128 + std::cos(a) * t, 128 + std::sin(a) * t, r0 * (1 - t / reach * 0.8));
    drop(128 + std::cos(a) * (reach + 8), 128 + std::sin(a) * (reach + 8), r0 * 0.6);
  }
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double d = dens.at(x, y).r * (0.85 + 0.15 * tileFbm(x / 16.0, y / 16.0, 16, 3, 5));
    // green carries the shape (the picture is its own alpha)
    return rgb(70 + 185 * d, 150 * d, 110 * d);
  });
  return make(std::move(img), JpegOptions{.quality = 90, .hSamp = 2, .vSamp = 2});
}

Picture backdropPicture() {
  constexpr int S = 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    const double a = std::atan2(u - 0.5, v + 0.3);
    const double rays = 0.5 + 0.5 * std::sin(a * 40 + 3 * tileFbm(u * 4, v * 4, 4, 3, 4));
    const double fall = std::exp(-v * 2.2);
    const double n = tileFbm(u * 6, v * 6, 6, 5, 41);
    const double l = 0.15 + 0.85 * fall * (0.4 + 0.6 * rays * rays);
    return rgb(14 + 60 * l * n, 18 + 70 * l, 40 + 150 * l * (0.7 + 0.3 * n));
  });
  return make(std::move(img), JpegOptions{.quality = 88, .hSamp = 2, .vSamp = 1, .progressive = true});
}

Picture horsePicture(bool alpha) {
  constexpr int S = 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double d = horseSilhouette(x + 0.5, y + 0.5);
    const double inside = 1 - smoothstep(-2.0, 2.0, d);
    if (alpha) return grey(255 * inside);
    const double depth = clamp01(-d / 30.0);
    const double n = tileFbm(x / 40.0, y / 40.0, 13, 4, 77);
    const double rim = std::exp(-std::pow((d + 3) / 4.0, 2));
    return rgb(30 + 170 * rim + 90 * depth * n, 45 + 180 * rim + 110 * depth * n, 70 + 185 * rim + 140 * depth * n) *
               static_cast<float>(inside) +
           rgb(4, 6, 10) * static_cast<float>(1 - inside);
  });
  return make(std::move(img), JpegOptions{.quality = 90, .hSamp = 2, .vSamp = 2, .restartInterval = 12});
}

Picture featherPicture() {
  constexpr int S = 256;
  Image img(S, S);
  // the shaft: a gentle arc; barbs leave it at an angle on both sides
  auto shaft = [](double t) { return std::pair<double, double>{128 + 30 * std::sin(t * 2.2 - 1.1), 236 - 220 * t}; };
  for (int i = 0; i < 100; ++i) {
    auto [x0, y0] = shaft(i / 100.0);
    auto [x1, y1] = shaft((i + 1) / 100.0);
    strokeSegment(img, x0, y0, x1, y1, 1.6 * (1 - i / 140.0), grey(255));
  }
  for (int i = 0; i < 110; ++i) {
    const double t = 0.12 + 0.86 * i / 110.0;
    auto [x, y] = shaft(t);
    const double len = 70 * std::sin(kPi * std::min(1.0, (t - 0.1) / 0.9)) + 6;
    for (int side = -1; side <= 1; side += 2) {
      double px = x, py = y, ang = side > 0 ? -0.55 : kPi + 0.55;
      for (int k = 0; k < 12; ++k) {
        const double nx = px + std::cos(ang) * len / 12, ny = py + std::sin(ang) * len / 12;
        strokeSegment(img, px, py, nx, ny, 0.5, grey(200 * (1 - k / 14.0)), 0.8f);
        px = nx;
        py = ny;
        ang += side * 0.03;
      }
    }
  }
  bloom(img, 3, 0.5f);
  return make(std::move(img), JpegOptions{.quality = 92, .hSamp = 1, .vSamp = 1, .optimize = true});
}

Picture budPicture() {
  constexpr int S = 256;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double dx = x + 0.5 - S / 2.0, dy = y + 0.5 - S / 2.0;
    const double r = std::hypot(dx, dy) / (S / 2.0), a = std::atan2(dy, dx);
    const double petals = std::pow(0.5 + 0.5 * std::cos(6 * a), 3) * std::exp(-std::pow((r - 0.35) / 0.18, 2));
    const double core = std::exp(-r * r * 40);
    const double halo = std::exp(-r * r * 4) * 0.3;
    const double v = core + petals * 0.7 + halo;
    return rgb(255 * std::min(1.0, v), 255 * std::min(1.0, v * 0.8), 255 * std::min(1.0, v * 0.55));
  });
  return make(std::move(img), JpegOptions{.quality = 90, .hSamp = 2, .vSamp = 2});
}

Picture shadowmanPicture() {
  constexpr int S = 512;
  using namespace shape;
  auto man = [](double x, double y) {
    double d = ellipse(x, y, 256, 92, 30, 36);
    d = unite(d, taper(x, y, 256, 130, 16, 256, 150, 16));
    d = unite(d, taper(x, y, 256, 170, 52, 256, 270, 38));
    d = unite(d, taper(x, y, 214, 160, 16, 190, 260, 12));
    d = unite(d, taper(x, y, 190, 260, 12, 184, 340, 10));
    d = unite(d, taper(x, y, 298, 160, 16, 322, 260, 12));
    d = unite(d, taper(x, y, 322, 260, 12, 328, 340, 10));
    d = unite(d, taper(x, y, 236, 290, 22, 230, 390, 15));
    d = unite(d, taper(x, y, 230, 390, 15, 228, 480, 11));
    d = unite(d, taper(x, y, 276, 290, 22, 282, 390, 15));
    d = unite(d, taper(x, y, 282, 390, 15, 284, 480, 11));
    return d;
  };
  Image img(S, S);
  img.fill([&](int x, int y) { return grey(235 * (1 - smoothstep(-6.0, 6.0, man(x + 0.5, y + 0.5)))); });
  blur(img, 6, 3);
  return make(std::move(img), JpegOptions{.quality = 85, .hSamp = 2, .vSamp = 2, .progressive = true});
}

namespace {
// Worley-style distance to the nearest and second-nearest feature points on
// a tiling grid of `cells` x `cells`.
std::pair<double, double> worley(double u, double v, int cells, std::uint32_t seed) {
  const double x = u * cells, y = v * cells;
  const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
  double d1 = 9, d2 = 9;
  for (int j = -1; j <= 1; ++j)
    for (int i = -1; i <= 1; ++i) {
      const int cx = ix + i, cy = iy + j;
      const int wx = ((cx % cells) + cells) % cells, wy = ((cy % cells) + cells) % cells;
      const double fx = cx + hash01(wx, wy, 1, seed), fy = cy + hash01(wx, wy, 2, seed);
      const double d = std::hypot(fx - x, fy - y);
      if (d < d1) {
        d2 = d1;
        d1 = d;
      } else if (d < d2) {
        d2 = d;
      }
    }
  return {d1, d2};
}
}  // namespace

Picture groundPicture(bool bump) {
  constexpr int S = 512;
  const int size = bump ? 256 : S;
  Image img(size, size);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / size, v = (y + 0.5) / size;
    auto [d1, d2] = worley(u, v, 9, 51);
    const double crack = smoothstep(0.0, 0.08, d2 - d1);
    const double n = tileFbm(u * 8, v * 8, 8, 5, 52);
    if (bump) return grey(255 * (0.25 + 0.55 * crack * (0.6 + 0.4 * n)));
    const double l = (0.35 + 0.65 * n) * (0.3 + 0.7 * crack);
    return rgb(40 + 120 * l, 32 + 95 * l, 24 + 70 * l);
  });
  if (bump) return make(std::move(img), JpegOptions{.quality = 92, .hSamp = 1, .vSamp = 1});
  return make(std::move(img),
              JpegOptions{.quality = 86, .hSamp = 2, .vSamp = 2, .progressive = true, .restartInterval = 16});
}

Picture stonePicture(bool kneelingBase) {
  constexpr int S = 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    const double n = tileFbm(u * 4, v * 4, 4, 6, kneelingBase ? 61u : 62u);
    const double vein = std::pow(std::abs(std::sin((u + 0.6 * n) * kPi * 6)), 0.25);
    const double l = 0.45 + 0.4 * n + 0.15 * vein;
    if (kneelingBase) return rgb(170 * l + 30, 150 * l + 24, 128 * l + 20);  // warm marble
    return rgb(120 * l + 20, 128 * l + 22, 140 * l + 28);                    // cool stone
  });
  return make(std::move(img), kneelingBase ? JpegOptions{.quality = 88, .hSamp = 1, .vSamp = 2, .restartInterval = 5}
                                           : JpegOptions{.quality = 88, .hSamp = 2, .vSamp = 1, .optimize = true});
}

Picture skinPicture(bool bump) {
  const int S = bump ? 256 : 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    const double n = tileFbm(u * 8, v * 8, 8, 5, 71);
    auto [d1, d2] = worley(u, v, 48, 72);
    const double pore = smoothstep(0.0, 0.25, d1);
    if (bump) return grey(255 * (0.35 + 0.45 * pore + 0.2 * n));
    const double l = 0.8 + 0.2 * n * pore;
    return rgb(225 * l, 170 * l, 140 * l);
  });
  return make(std::move(img), bump ? JpegOptions{.quality = 92, .hSamp = 1, .vSamp = 1}
                                   : JpegOptions{.quality = 88, .hSamp = 2, .vSamp = 2});
}

Picture heartPicture(bool bump) {
  const int S = bump ? 256 : 512;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    const double n = tileFbm(u * 6, v * 6, 6, 5, 81);
    // muscle fibres wind diagonally around the heart
    const double fib = 0.5 + 0.5 * std::sin(2 * kPi * (u * 3 + v * 18) + 4 * n);
    if (bump) return grey(255 * (0.3 + 0.5 * fib + 0.2 * n));
    const double l = 0.6 + 0.25 * fib + 0.15 * n;
    return rgb(200 * l + 20, 50 * l, 45 * l);
  });
  return make(std::move(img), bump ? JpegOptions{.quality = 92, .hSamp = 1, .vSamp = 1}
                                   : JpegOptions{.quality = 88, .hSamp = 2, .vSamp = 2, .progressive = true});
}

Picture vesselPicture() {
  constexpr int S = 256;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    const double n = tileFbm(u * 5, v * 5, 5, 4, 91);
    const double rings = 0.5 + 0.5 * std::sin(2 * kPi * v * 24 + 2 * n);
    const double l = 0.7 + 0.2 * rings + 0.1 * n;
    return rgb(185 * l + 30, 60 * l + 10, 75 * l + 20);
  });
  return make(std::move(img), JpegOptions{.quality = 86, .hSamp = 2, .vSamp = 1});
}

Picture fatPicture(bool alpha) {
  constexpr int S = 256;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    auto [d1, d2] = worley(u, v, 10, 95);
    const double lobule = smoothstep(0.02, 0.12, d2 - d1);
    if (alpha) return grey(255 * (0.25 + 0.6 * lobule));
    return rgb(235 * (0.75 + 0.25 * lobule), 200 * (0.7 + 0.3 * lobule), 120 * (0.6 + 0.4 * lobule));
  });
  return make(std::move(img), JpegOptions{.quality = 88, .hSamp = 1, .vSamp = 1, .progressive = !alpha});
}

Picture waterPicture() {
  constexpr int S = 256;
  Image img(S, S);
  img.fill([&](int x, int y) {
    const double u = (x + 0.5) / S, v = (y + 0.5) / S;
    const double n = tileFbm(u * 4, v * 4, 4, 5, 101);
    const double ripple = 0.5 + 0.5 * std::sin(2 * kPi * (u * 5 + v * 3) + 6 * n);
    return rgb(20 + 40 * ripple, 70 + 60 * ripple, 90 + 70 * ripple);
  });
  return make(std::move(img), JpegOptions{.quality = 86, .hSamp = 2, .vSamp = 2, .restartInterval = 2});
}

}  // namespace datagen
