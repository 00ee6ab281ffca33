// Light pictures: the caustic loop and the night sky box.
#include <algorithm>
#include <array>
#include <cmath>

#include "pictures.h"
#include "rng.h"

namespace datagen {

namespace {

struct Wave {
  int kx, ky;  // cycles per tile, so the field tiles
  int speed;   // phase cycles per loop, so frame 16 equals frame 0
  double amp, phase;
};

// Two octaves of travelling waves on the unit torus.
std::vector<Wave> causticWaves() {
  Rng rng(403);
  std::vector<Wave> w;
  const int lo[][2] = {{3, 1}, {-1, 3}, {2, -3}, {-3, -2}, {1, 4}};
  const int hi[][2] = {{7, 2}, {-3, 7}, {6, -5}, {-8, -1}, {2, 8}, {5, 6}};
  for (auto& k : lo) w.push_back({k[0], k[1], rng.uniform() < 0.5 ? 1 : -1, 1.0, rng.uniform() * 2 * kPi});
  for (auto& k : hi) w.push_back({k[0], k[1], rng.uniform() < 0.5 ? 1 : -1, 0.32, rng.uniform() * 2 * kPi});
  return w;
}

}  // namespace

// Light focused by a rippled water surface onto a floor: every photon of a
// regular grid is bent by the surface slope and lands on the (tiling)
// floor; where the bent rays crowd, thin bright filaments appear.
Picture causticFrame(int frame) {
  constexpr int kOut = 256, kGrid = 512;
  const double theta = 2 * kPi * frame / 16.0;
  const auto waves = causticWaves();
  std::vector<double> h(static_cast<size_t>(kGrid) * kGrid);
  for (int j = 0; j < kGrid; ++j)
    for (int i = 0; i < kGrid; ++i) {
      const double u = static_cast<double>(i) / kGrid, v = static_cast<double>(j) / kGrid;
      // a gentle periodic warp keeps the interference from looking regular
      const double wu = u + 0.025 * std::sin(2 * kPi * (2 * v + u) + theta);
      const double wv = v + 0.025 * std::sin(2 * kPi * (2 * u - v) - theta);
      double s = 0;
      for (const Wave& w : waves) s += w.amp * std::cos(2 * kPi * (w.kx * wu + w.ky * wv) + w.phase + w.speed * theta);
      h[static_cast<size_t>(j) * kGrid + i] = s;
    }
  std::vector<double> acc(static_cast<size_t>(kOut) * kOut, 0.0);
  const double depth = 0.0016;  // how far the floor lies below the surface
  const double scale = static_cast<double>(kOut) / kGrid;
  for (int j = 0; j < kGrid; ++j)
    for (int i = 0; i < kGrid; ++i) {
      auto H = [&](int a, int b) { return h[static_cast<size_t>((b + kGrid) % kGrid) * kGrid + (a + kGrid) % kGrid]; };
      const double gx = (H(i + 1, j) - H(i - 1, j)) * 0.5 * kGrid;
      const double gy = (H(i, j + 1) - H(i, j - 1)) * 0.5 * kGrid;
      const double x = (i + 0.5 - gx * depth * kGrid) * scale - 0.5;
      const double y = (j + 0.5 - gy * depth * kGrid) * scale - 0.5;
      const double fx = std::floor(x), fy = std::floor(y);
      const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
      const double tx = x - fx, ty = y - fy;
      auto put = [&](int a, int b, double wgt) {
        acc[static_cast<size_t>(((b % kOut) + kOut) % kOut) * kOut + ((a % kOut) + kOut) % kOut] += wgt;
      };
      put(ix, iy, (1 - tx) * (1 - ty));
      put(ix + 1, iy, tx * (1 - ty));
      put(ix, iy + 1, (1 - tx) * ty);
      put(ix + 1, iy + 1, tx * ty);
    }
  const double perPixel = static_cast<double>(kGrid) * kGrid / (kOut * kOut);
  Image img(kOut, kOut);
  img.fill([&](int x, int y) {
    const double e = acc[static_cast<size_t>(y) * kOut + x] / perPixel;
    const double v = std::pow(std::max(0.0, e - 0.75), 1.5) * 0.4;
    const double l = std::min(1.0, 0.06 + v);
    return Rgb{static_cast<float>(255 * l * 0.80), static_cast<float>(255 * l * 0.94), static_cast<float>(255 * l)};
  });
  blur(img, 1, 1, true);
  Picture p;
  p.image = std::move(img);
  // the frames exercise three sampling layouts and restart markers
  static const int layouts[3][2] = {{2, 2}, {2, 1}, {1, 2}};
  p.jpeg = JpegOptions{.quality = 88,
                       .hSamp = layouts[frame % 3][0],
                       .vSamp = layouts[frame % 3][1],
                       .restartInterval = (frame % 2) ? 0 : 4 + frame};
  return p;
}

namespace {

struct Vec {
  double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(Vec a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec norm(Vec a) { return a * (1.0 / std::sqrt(dot(a, a))); }

// Face centre and in-plane axes, in the order posx, negx, posy, negy,
// posz, negz; texture s runs along P and t along Q (t = 1 at the top row).
struct Face {
  Vec a, p, q;
};
const std::array<Face, 6> kFaces{{{{1, 0, 0}, {0, 0, -1}, {0, 1, 0}},
                                  {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
                                  {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}},
                                  {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
                                  {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},
                                  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}}}};

const Vec kBandNormal = norm({0.35, 0.85, 0.4});
const Vec kMoon = norm({0.55, 0.35, -0.75});

}  // namespace

// The sky is a function of direction only, so the six faces meet without
// seams; stars are splatted into every face their glow reaches.
Picture nightFace(int face) {
  constexpr int kSize = 512;
  const Face& f = kFaces[face];
  Image img(kSize, kSize);
  img.fill([&](int px, int py) {
    const double s = (px + 0.5) / kSize * 2 - 1, t = 1 - (py + 0.5) / kSize * 2;
    const Vec d = norm(f.a + f.p * s + f.q * t);
    const double n = fbm3(d.x * 2.2 + 11, d.y * 2.2, d.z * 2.2, 4, 7);
    const double bandD = dot(d, kBandNormal);
    const double band = std::exp(-bandD * bandD / 0.035) * (0.35 + 0.9 * fbm3(d.x * 5, d.y * 5, d.z * 5, 4, 8));
    const double dust = smoothstep(0.45, 0.75, fbm3(d.x * 7 + 3, d.y * 7, d.z * 7, 3, 9));
    const double mc = dot(d, kMoon);
    const double moonGlow = std::pow(std::max(0.0, mc), 40.0) * 0.5 + std::pow(std::max(0.0, mc), 6.0) * 0.12;
    const double horizon = std::pow(1 - std::abs(d.z), 6.0) * 0.08;
    double r = 4 + 10 * n + 46 * band * (1 - 0.7 * dust) + 150 * moonGlow + 30 * horizon;
    double g = 6 + 14 * n + 42 * band * (1 - 0.7 * dust) + 160 * moonGlow + 40 * horizon;
    double b = 16 + 34 * n + 70 * band * (1 - 0.6 * dust) + 190 * moonGlow + 70 * horizon;
    // the moon itself: a soft-edged disc with faint maria
    const double ang = std::acos(std::min(1.0, mc));
    const double disc = 1 - smoothstep(0.045, 0.05, ang);
    if (disc > 0) {
      const double m = 0.78 + 0.22 * fbm3(d.x * 60, d.y * 60, d.z * 60, 3, 10);
      r += (235 * m - r) * disc;
      g += (238 * m - g) * disc;
      b += (228 * m - b) * disc;
    }
    return Rgb{static_cast<float>(r), static_cast<float>(g), static_cast<float>(b)};
  });
  Rng rng(1006);
  for (int i = 0; i < 9000; ++i) {
    // uniform direction on the sphere
    const double z = rng.range(-1, 1), phi = rng.range(0, 2 * kPi);
    const double rr = std::sqrt(1 - z * z);
    const Vec d{rr * std::cos(phi), rr * std::sin(phi), z};
    const double mag = std::pow(rng.uniform(), 5.0);
    const double bright = 25 + 380 * mag;
    const double sigma = 0.55 + 1.1 * mag;
    const double warm = rng.uniform();
    const Rgb col{static_cast<float>(0.85 + 0.15 * warm), static_cast<float>(0.9),
                  static_cast<float>(1.0 - 0.2 * warm)};
    const double da = dot(d, f.a);
    if (da <= 0.2) continue;
    const Vec v = d * (1.0 / da);
    const double px = (dot(v, f.p) + 1) / 2 * kSize - 0.5, py = (1 - (dot(v, f.q) + 1) / 2) * kSize - 0.5;
    const int rad = static_cast<int>(std::ceil(sigma * 3));
    for (int y = static_cast<int>(py) - rad; y <= static_cast<int>(py) + rad; ++y)
      for (int x = static_cast<int>(px) - rad; x <= static_cast<int>(px) + rad; ++x) {
        const double w = std::exp(-((x - px) * (x - px) + (y - py) * (y - py)) / (2 * sigma * sigma));
        img.add(x, y, col * static_cast<float>(bright * w));
      }
  }
  Picture p;
  p.image = std::move(img);
  p.jpeg = JpegOptions{.quality = 90, .hSamp = 2, .vSamp = 2, .progressive = true, .optimize = true};
  return p;
}

}  // namespace datagen
