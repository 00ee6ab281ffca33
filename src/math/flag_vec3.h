#pragma once
#include <cmath>
#include <cstdint>

// A 3-vector that carries a state flag: 0 unset, 1 set, 2 normalized.
// Arithmetic on an unset operand yields the default {1, 0, 0, 0}.
struct FlagVec3 {
  int32_t flag = 1;
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// Arrays of these are copied word by word and walked as flag,x,y,z records.
static_assert(sizeof(FlagVec3) == 16, "FlagVec3 must stay four 32-bit words");

// The out-parameter forms run inside per-particle and per-vertex loops, so
// they live here to inline. `out` may alias either operand: every input is
// read before anything is written. Intermediate sums are taken in double
// and rounded once when stored.

inline void add(const FlagVec3& a, const FlagVec3& b, FlagVec3& out) {
  if (a.flag == 0 || b.flag == 0) {
    out = FlagVec3{};
    return;
  }
  const double x = double(a.x) + double(b.x);
  const double y = double(a.y) + double(b.y);
  const double z = double(a.z) + double(b.z);
  out = FlagVec3{1, float(x), float(y), float(z)};
}

inline void subtract(const FlagVec3& a, const FlagVec3& b, FlagVec3& out) {
  if (a.flag == 0 || b.flag == 0) {
    out = FlagVec3{};
    return;
  }
  const double x = double(a.x) - double(b.x);
  const double y = double(a.y) - double(b.y);
  const double z = double(a.z) - double(b.z);
  out = FlagVec3{1, float(x), float(y), float(z)};
}

inline void cross(const FlagVec3& a, const FlagVec3& b, FlagVec3& out) {
  if (a.flag == 0 || b.flag == 0) {
    out = FlagVec3{};
    return;
  }
  const double ax = a.x, ay = a.y, az = a.z;
  const double bx = b.x, by = b.y, bz = b.z;
  out = FlagVec3{1, float(ay * bz - az * by), float(az * bx - ax * bz), float(ax * by - ay * bx)};
}

// The flag is carried over on purpose: a scaled unit vector still reports
// flag 2, and normalize() will then leave it alone.
inline void scale(const FlagVec3& a, float s, FlagVec3& out) {
  if (a.flag == 0) {
    out = FlagVec3{};
    return;
  }
  const double k = s;
  out = FlagVec3{a.flag, float(a.x * k), float(a.y * k), float(a.z * k)};
}

// Only a plain set vector (flag 1) is touched. Too short a vector cannot be
// given a direction; it becomes the zero vector but is still marked done.
inline void normalize(FlagVec3& v) {
  if (v.flag != 1) return;
  const double x = v.x, y = v.y, z = v.z;
  const double length = std::sqrt(x * x + y * y + z * z);
  v.flag = 2;
  if (length < 1e-8) {
    v.x = v.y = v.z = 0.0f;
    return;
  }
  const double k = 1.0 / length;
  v.x = float(x * k);
  v.y = float(y * k);
  v.z = float(z * k);
}

// Value forms for use in expressions.

inline FlagVec3 operator+(const FlagVec3& a, const FlagVec3& b) {
  FlagVec3 out;
  add(a, b, out);
  return out;
}

inline FlagVec3 operator-(const FlagVec3& a, const FlagVec3& b) {
  FlagVec3 out;
  subtract(a, b, out);
  return out;
}

inline FlagVec3 operator*(const FlagVec3& a, float s) {
  FlagVec3 out;
  scale(a, s, out);
  return out;
}

inline FlagVec3 cross(const FlagVec3& a, const FlagVec3& b) {
  FlagVec3 out;
  cross(a, b, out);
  return out;
}
