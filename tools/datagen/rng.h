#pragma once
// Seeded generator for everything the data generator scatters. Same seed,
// same sequence on every machine: no library generator is involved.
#include <cstdint>

namespace datagen {

class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed) {}

  std::uint64_t next() {
    // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // uniform in [0, 1)
  double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  int below(int n) { return static_cast<int>(uniform() * n); }

 private:
  std::uint64_t state_;
};

// Stateless hash of integer coordinates, for lattice noise and star fields.
inline std::uint32_t hash3(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
  std::uint32_t h = seed * 0x27d4eb2du;
  h ^= static_cast<std::uint32_t>(x) * 0x85ebca6bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<std::uint32_t>(y) * 0xc2b2ae35u;
  h = (h << 11) | (h >> 21);
  h ^= static_cast<std::uint32_t>(z) * 0x165667b1u;
  h ^= h >> 16;
  h *= 0x7feb352du;
  h ^= h >> 15;
  h *= 0x846ca68bu;
  h ^= h >> 16;
  return h;
}

inline double hash01(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
  return hash3(x, y, z, seed) * (1.0 / 4294967296.0);
}

}  // namespace datagen
