// Loudness as broadcasters measure it: K-weighting (a high shelf and a high
// pass), mean square over 400 ms blocks, absolute and relative gates.
#include <algorithm>
#include <cmath>
#include <limits>

#include "music.h"

namespace datagen {

namespace {

struct Biquad {
  double b0, b1, b2, a1, a2;
  double z1 = 0, z2 = 0;
  double run(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

std::vector<double> kWeightedPower(const Track& t) {
  const double fs = t.rate;
  // coefficients for any sample rate, as in the reference filters
  double K = std::tan(kPi * 1681.974450955533 / fs);
  const double Vh = std::pow(10.0, 3.999843853973347 / 20.0), Vb = std::pow(Vh, 0.4996667741545416);
  const double Q1 = 0.7071752369554196;
  double a0 = 1 + K / Q1 + K * K;
  const Biquad shelf{(Vh + Vb * K / Q1 + K * K) / a0, 2 * (K * K - Vh) / a0, (Vh - Vb * K / Q1 + K * K) / a0,
                     2 * (K * K - 1) / a0, (1 - K / Q1 + K * K) / a0};
  K = std::tan(kPi * 38.13547087602444 / fs);
  const double Q2 = 0.5003270373238773;
  a0 = 1 + K / Q2 + K * K;
  const Biquad high{1, -2, 1, 2 * (K * K - 1) / a0, (1 - K / Q2 + K * K) / a0};
  std::vector<double> p(t.left.size());
  Biquad s[2] = {shelf, shelf}, h[2] = {high, high};
  for (std::size_t i = 0; i < p.size(); ++i) {
    const double l = h[0].run(s[0].run(t.left[i])), r = h[1].run(s[1].run(t.right[i]));
    p[i] = l * l + r * r;
  }
  return p;
}

double toLufs(double ms) { return ms > 0 ? -0.691 + 10 * std::log10(ms) : -std::numeric_limits<double>::infinity(); }

}  // namespace

double integratedLoudness(const Track& t) {
  const auto p = kWeightedPower(t);
  const std::size_t block = static_cast<std::size_t>(0.4 * t.rate), step = block / 4;
  std::vector<double> z;
  for (std::size_t s = 0; s + block <= p.size(); s += step) {
    double sum = 0;
    for (std::size_t i = s; i < s + block; ++i) sum += p[i];
    z.push_back(sum / block);
  }
  auto gatedMean = [&](double threshold) {
    double sum = 0;
    std::size_t n = 0;
    for (double v : z)
      if (toLufs(v) > threshold) {
        sum += v;
        ++n;
      }
    return n ? sum / n : 0.0;
  };
  const double absMean = gatedMean(-70.0);
  if (absMean <= 0) return -std::numeric_limits<double>::infinity();
  return toLufs(gatedMean(toLufs(absMean) - 10.0));
}

double stretchLoudness(const Track& t, double fromS, double toS) {
  const auto p = kWeightedPower(t);
  const std::size_t a = static_cast<std::size_t>(fromS * t.rate);
  const std::size_t b = std::min(p.size(), static_cast<std::size_t>(toS * t.rate));
  double sum = 0;
  for (std::size_t i = a; i < b; ++i) sum += p[i];
  return toLufs(b > a ? sum / (b - a) : 0.0);
}

double samplePeak(const Track& t) {
  double m = 0;
  for (float v : t.left) m = std::max(m, static_cast<double>(std::abs(v)));
  for (float v : t.right) m = std::max(m, static_cast<double>(std::abs(v)));
  return m;
}

}  // namespace datagen
