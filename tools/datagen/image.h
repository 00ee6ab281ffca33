#pragma once
// Float RGB canvas the painters work on. Values are in 0..255 but may go
// above 255 on purpose: the JPEG writer converts to YCbCr before clamping,
// so "super-white" strokes keep red saturated through the codec's ringing.
#include <cmath>
#include <cstdint>
#include <vector>

namespace datagen {

struct Rgb {
  float r = 0, g = 0, b = 0;
};

inline Rgb operator+(Rgb a, Rgb b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Rgb operator*(Rgb a, float s) { return {a.r * s, a.g * s, a.b * s}; }
inline Rgb mix(Rgb a, Rgb b, float t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

class Image {
 public:
  Image() = default;
  Image(int w, int h, Rgb fill = {}) : w_(w), h_(h), px_(static_cast<size_t>(w) * h, fill) {}

  int width() const { return w_; }
  int height() const { return h_; }
  Rgb& at(int x, int y) { return px_[static_cast<size_t>(y) * w_ + x]; }
  const Rgb& at(int x, int y) const { return px_[static_cast<size_t>(y) * w_ + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }

  // Adds colour c weighted by a over pixel (x, y) if inside.
  void add(int x, int y, Rgb c, float a = 1.0f) {
    if (inside(x, y)) at(x, y) = at(x, y) + c * a;
  }
  void blend(int x, int y, Rgb c, float a) {
    if (inside(x, y)) at(x, y) = mix(at(x, y), c, a);
  }

  template <class F>
  void fill(F&& f) {
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x) at(x, y) = f(x, y);
  }

 private:
  int w_ = 0, h_ = 0;
  std::vector<Rgb> px_;
};

inline float clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double clamp01(double v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }
inline double smoothstep(double a, double b, double x) {
  double t = clamp01((x - a) / (b - a));
  return t * t * (3 - 2 * t);
}
constexpr double kPi = 3.14159265358979323846;

// Value noise on an integer lattice that wraps with the given period, so
// textures built from it tile.
double tileNoise(double x, double y, int period, std::uint32_t seed);
// Sum of octaves of tileNoise, normalised to roughly 0..1.
double tileFbm(double x, double y, int period, int octaves, std::uint32_t seed);
// Non-tiling 3-D value noise, 0..1.
double noise3(double x, double y, double z, std::uint32_t seed);
double fbm3(double x, double y, double z, int octaves, std::uint32_t seed);

// Anti-aliased stroke of a polyline segment with the given radius.
void strokeSegment(Image& img, double x0, double y0, double x1, double y1, double radius, Rgb c, float alpha = 1.0f);
// Soft disc: weight 1 inside radius r, falling off over `soft` pixels.
void softDisc(Image& img, double cx, double cy, double r, double soft, Rgb c, float alpha = 1.0f);
// Separable box blur, repeated `passes` times (three passes approximate a gaussian).
void blur(Image& img, int radius, int passes, bool wrap = false);

}  // namespace datagen
