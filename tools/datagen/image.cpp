#include "image.h"

#include <algorithm>

#include "rng.h"

namespace datagen {

namespace {
double fade(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
int wrapi(int v, int p) { return ((v % p) + p) % p; }
}  // namespace

double tileNoise(double x, double y, int period, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  const double tx = fade(x - fx), ty = fade(y - fy);
  auto v = [&](int i, int j) { return hash01(wrapi(i, period), wrapi(j, period), 0, seed); };
  const double a = v(ix, iy), b = v(ix + 1, iy), c = v(ix, iy + 1), d = v(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double tileFbm(double x, double y, int period, int octaves, std::uint32_t seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * tileNoise(x, y, period, seed + 977u * o);
    norm += amp;
    x *= 2;
    y *= 2;
    period *= 2;
    amp *= 0.5;
  }
  return sum / norm;
}

double noise3(double x, double y, double z, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  const int ix = static_cast<int>(fx), iy = static_cast<int>(fy), iz = static_cast<int>(fz);
  const double tx = fade(x - fx), ty = fade(y - fy), tz = fade(z - fz);
  double c[2][2][2];
  for (int k = 0; k < 2; ++k)
    for (int j = 0; j < 2; ++j)
      for (int i = 0; i < 2; ++i) c[k][j][i] = hash01(ix + i, iy + j, iz + k, seed);
  auto lerp = [](double a, double b, double t) { return a + (b - a) * t; };
  const double y0 = lerp(lerp(c[0][0][0], c[0][0][1], tx), lerp(c[0][1][0], c[0][1][1], tx), ty);
  const double y1 = lerp(lerp(c[1][0][0], c[1][0][1], tx), lerp(c[1][1][0], c[1][1][1], tx), ty);
  return lerp(y0, y1, tz);
}

double fbm3(double x, double y, double z, int octaves, std::uint32_t seed) {
  double sum = 0, amp = 0.5, norm = 0;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * noise3(x, y, z, seed + 131u * o);
    norm += amp;
    x *= 2.03;
    y *= 2.03;
    z *= 2.03;
    amp *= 0.5;
  }
  return sum / norm;
}

void strokeSegment(Image& img, double x0, double y0, double x1, double y1, double radius, Rgb c, float alpha) {
  const int minx = static_cast<int>(std::floor(std::min(x0, x1) - radius - 1));
  const int maxx = static_cast<int>(std::ceil(std::max(x0, x1) + radius + 1));
  const int miny = static_cast<int>(std::floor(std::min(y0, y1) - radius - 1));
  const int maxy = static_cast<int>(std::ceil(std::max(y0, y1) + radius + 1));
  const double dx = x1 - x0, dy = y1 - y0;
  const double len2 = dx * dx + dy * dy;
  for (int y = std::max(miny, 0); y <= std::min(maxy, img.height() - 1); ++y)
    for (int x = std::max(minx, 0); x <= std::min(maxx, img.width() - 1); ++x) {
      const double px = x + 0.5 - x0, py = y + 0.5 - y0;
      double t = len2 > 0 ? (px * dx + py * dy) / len2 : 0.0;
      t = std::clamp(t, 0.0, 1.0);
      const double ex = px - t * dx, ey = py - t * dy;
      const double d = std::sqrt(ex * ex + ey * ey);
      const double cover = clamp01(radius + 0.5 - d);
      if (cover > 0) {
        Rgb& p = img.at(x, y);
        const float a = static_cast<float>(cover) * alpha;
        // max-blend so overlapping segment ends do not double up
        p.r = std::max(p.r, p.r + (c.r - p.r) * a);
        p.g = std::max(p.g, p.g + (c.g - p.g) * a);
        p.b = std::max(p.b, p.b + (c.b - p.b) * a);
      }
    }
}

void softDisc(Image& img, double cx, double cy, double r, double soft, Rgb c, float alpha) {
  const int minx = static_cast<int>(cx - r - soft - 1), maxx = static_cast<int>(cx + r + soft + 1);
  const int miny = static_cast<int>(cy - r - soft - 1), maxy = static_cast<int>(cy + r + soft + 1);
  for (int y = std::max(miny, 0); y <= std::min(maxy, img.height() - 1); ++y)
    for (int x = std::max(minx, 0); x <= std::min(maxx, img.width() - 1); ++x) {
      const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      const double w = 1.0 - smoothstep(r, r + soft, d);
      if (w > 0) img.blend(x, y, c, static_cast<float>(w) * alpha);
    }
}

void blur(Image& img, int radius, int passes, bool wrap) {
  const int w = img.width(), h = img.height();
  std::vector<Rgb> line(static_cast<size_t>(std::max(w, h)));
  const float norm = 1.0f / (2 * radius + 1);
  auto fetch = [&](auto get, int i, int n) {
    if (wrap) return get(wrapi(i, n));
    return get(std::clamp(i, 0, n - 1));
  };
  for (int p = 0; p < passes; ++p) {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        Rgb s;
        for (int k = -radius; k <= radius; ++k) s = s + fetch([&](int i) { return img.at(i, y); }, x + k, w);
        line[x] = s * norm;
      }
      for (int x = 0; x < w; ++x) img.at(x, y) = line[x];
    }
    for (int x = 0; x < w; ++x) {
      for (int y = 0; y < h; ++y) {
        Rgb s;
        for (int k = -radius; k <= radius; ++k) s = s + fetch([&](int i) { return img.at(x, i); }, y + k, h);
        line[y] = s * norm;
      }
      for (int y = 0; y < h; ++y) img.at(x, y) = line[y];
    }
  }
}

}  // namespace datagen
