#include "mesh_build.h"

#include <algorithm>
#include <stdexcept>

namespace datagen::mesh {

namespace {
V3 f3(Vec v) { return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)}; }
std::uint16_t idx(std::size_t i) {
  if (i > 65535) throw std::logic_error("mesh object over 65536 vertices");
  return static_cast<std::uint16_t>(i);
}
}  // namespace

double rounded(double t, double end) {
  if (t < end) return std::sqrt(std::max(0.0, 1 - std::pow(1 - t / end, 2)));
  if (t > 1 - end) return std::sqrt(std::max(0.0, 1 - std::pow(1 - (1 - t) / end, 2)));
  return 1.0;
}

Vec spline(const std::vector<Vec>& p, double t) {
  const int n = static_cast<int>(p.size());
  const double s = std::clamp(t, 0.0, 1.0) * (n - 1);
  int i = std::min(static_cast<int>(s), n - 2);
  const double f = s - i;
  auto at = [&](int k) { return p[static_cast<std::size_t>(std::clamp(k, 0, n - 1))]; };
  const Vec p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
  const Vec m1 = (p2 - p0) * 0.5, m2 = (p3 - p1) * 0.5;
  return p1 + m1 * f + (p2 * 3 - p1 * 3 - m1 * 2 - m2) * (f * f) + (p1 * 2 - p2 * 2 + m1 + m2) * (f * f * f);
}

void addTube(MeshObject& o, const Tube& tb) {
  const std::size_t base = o.vertices.size();
  const int R = tb.rings, S = tb.segments;
  auto tangent = [&](double t) {
    const double h = 1e-3;
    return unit(tb.spine(std::min(1.0, t + h)) - tb.spine(std::max(0.0, t - h)));
  };
  Vec T = tangent(0.0);
  Vec N = unit(tb.reference - T * dot(tb.reference, T));
  // rings 1..R-1 lie strictly inside; the poles sit at t = 0 and t = 1
  std::vector<Vec> normals(static_cast<std::size_t>(R + 1));
  for (int i = 0; i <= R; ++i) {
    const double t = static_cast<double>(i) / R;
    const Vec Ti = tangent(t);
    N = unit(N - Ti * dot(N, Ti));
    normals[static_cast<std::size_t>(i)] = N;
  }
  const bool flat = tb.capSmoothing != 0;
  const int first = flat ? 0 : 1, last = flat ? R : R - 1;
  for (int i = first; i <= last; ++i) {
    const double t = static_cast<double>(i) / R;
    const Vec c = tb.spine(t), Ti = tangent(t), Ni = normals[static_cast<std::size_t>(i)], Bi = cross(Ti, Ni);
    for (int j = 0; j <= S; ++j) {
      const double phi = 2 * 3.14159265358979323846 * (j % S) / S;
      const double r = tb.radius(t, phi);
      o.vertices.push_back(f3(c + (Ni * std::cos(phi) + Bi * std::sin(phi)) * r));
      o.uvs.push_back({static_cast<float>(static_cast<double>(j) / S), static_cast<float>(t * tb.vRepeat)});
    }
  }
  const int ringsMade = last - first + 1;
  auto v = [&](int ring, int j) { return idx(base + static_cast<std::size_t>(ring) * (S + 1) + j); };
  for (int i = 0; i + 1 < ringsMade; ++i)
    for (int j = 0; j < S; ++j) {
      o.faces.push_back({v(i, j), v(i, j + 1), v(i + 1, j), tb.smoothing, tb.material});
      o.faces.push_back({v(i, j + 1), v(i + 1, j + 1), v(i + 1, j), tb.smoothing, tb.material});
    }
  const std::uint32_t cap = flat ? tb.capSmoothing : tb.smoothing;
  const std::uint16_t p0 = idx(o.vertices.size());
  o.vertices.push_back(f3(tb.spine(0.0)));
  o.uvs.push_back({0.5f, 0.0f});
  const std::uint16_t p1 = idx(o.vertices.size());
  o.vertices.push_back(f3(tb.spine(1.0)));
  o.uvs.push_back({0.5f, static_cast<float>(tb.vRepeat)});
  for (int j = 0; j < S; ++j) {
    o.faces.push_back({p0, v(0, j + 1), v(0, j), cap, tb.material});
    o.faces.push_back({p1, v(ringsMade - 1, j), v(ringsMade - 1, j + 1), cap, tb.material});
  }
}

void addEllipsoid(MeshObject& o, Vec c, Vec r, int rings, int segments, std::uint32_t smoothing, int material,
                  const std::function<double(Vec)>& bump) {
  Tube tb;
  tb.spine = [=](double t) { return Vec{c.x, c.y - r.y + 2 * r.y * t, c.z}; };
  tb.reference = {1, 0, 0};
  tb.rings = rings;
  tb.segments = segments;
  tb.smoothing = smoothing;
  tb.material = material;
  tb.radius = [=](double t, double phi) {
    // frame along +y with reference +x: phi = 0 is +x, phi = 90 degrees is -z
    const double k = std::sqrt(std::max(0.0, 1 - std::pow(2 * t - 1, 2)));
    const double e = 1.0 / std::sqrt(std::pow(std::cos(phi) / r.x, 2) + std::pow(std::sin(phi) / r.z, 2));
    double s = 1.0;
    if (bump) s = bump(unit(Vec{std::cos(phi) * k, 2 * t - 1, -std::sin(phi) * k}));
    return k * e * s;
  };
  addTube(o, tb);
}

void addGrid(MeshObject& o, int cells, double half, const std::function<double(double, double)>& height,
             double uvRepeat, std::uint32_t smoothing, int material) {
  const std::size_t base = o.vertices.size();
  for (int j = 0; j <= cells; ++j)
    for (int i = 0; i <= cells; ++i) {
      const double x = -half + 2 * half * i / cells, y = -half + 2 * half * j / cells;
      o.vertices.push_back(f3({x, y, height(x, y)}));
      o.uvs.push_back({static_cast<float>(uvRepeat * i / cells), static_cast<float>(uvRepeat * j / cells)});
    }
  auto v = [&](int i, int j) { return idx(base + static_cast<std::size_t>(j) * (cells + 1) + i); };
  for (int j = 0; j < cells; ++j)
    for (int i = 0; i < cells; ++i) {
      // alternate the diagonal so the grid has no directional grain
      if ((i + j) % 2 == 0) {
        o.faces.push_back({v(i, j), v(i + 1, j), v(i + 1, j + 1), smoothing, material});
        o.faces.push_back({v(i, j), v(i + 1, j + 1), v(i, j + 1), smoothing, material});
      } else {
        o.faces.push_back({v(i, j), v(i + 1, j), v(i, j + 1), smoothing, material});
        o.faces.push_back({v(i + 1, j), v(i + 1, j + 1), v(i, j + 1), smoothing, material});
      }
    }
}

}  // namespace datagen::mesh
