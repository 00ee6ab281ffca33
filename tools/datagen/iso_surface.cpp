#include "iso_surface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <queue>
#include <unordered_map>

namespace datagen::mesh {

namespace {

// Each vertex's neighbours, sorted.
std::vector<std::vector<int>> neighbours(const TriMesh& m) {
  std::vector<std::vector<int>> n(m.points.size());
  for (const auto& t : m.tris)
    for (int k = 0; k < 3; ++k) {
      n[static_cast<std::size_t>(t[k])].push_back(t[(k + 1) % 3]);
      n[static_cast<std::size_t>(t[k])].push_back(t[(k + 2) % 3]);
    }
  for (auto& list : n) {
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
  }
  return n;
}

Vec centroidOf(const TriMesh& m, const std::vector<int>& list) {
  Vec c;
  for (int k : list) c = c + m.points[static_cast<std::size_t>(k)];
  return c * (1.0 / static_cast<double>(list.size()));
}

void laplacian(TriMesh& m, const std::vector<std::vector<int>>& n, double amount) {
  std::vector<Vec> next = m.points;
  for (std::size_t i = 0; i < m.points.size(); ++i)
    if (!n[i].empty()) next[i] = m.points[i] + (centroidOf(m, n[i]) - m.points[i]) * amount;
  m.points = std::move(next);
}

// Kuhn's six tetrahedra of a cube, corners numbered by bits x = 1, y = 2,
// z = 4: every one runs along the diagonal 0-7, so neighbouring cubes cut
// their shared faces alike and the surface has no cracks.
constexpr int kTets[6][4] = {{0, 1, 3, 7}, {0, 1, 5, 7}, {0, 2, 3, 7}, {0, 2, 6, 7}, {0, 4, 5, 7}, {0, 4, 6, 7}};

}  // namespace

Vec faceNormal(const TriMesh& m, const std::array<int, 3>& t) {
  const Vec a = m.points[static_cast<std::size_t>(t[0])];
  return cross(m.points[static_cast<std::size_t>(t[1])] - a, m.points[static_cast<std::size_t>(t[2])] - a);
}

TriMesh polygonise(const Field& field, Vec low, Vec high, double step) {
  const int nx = static_cast<int>(std::ceil((high.x - low.x) / step)) + 1;
  const int ny = static_cast<int>(std::ceil((high.y - low.y) / step)) + 1;
  const int nz = static_cast<int>(std::ceil((high.z - low.z) / step)) + 1;
  auto index = [&](int i, int j, int k) { return (static_cast<std::size_t>(k) * ny + j) * nx + i; };
  auto at = [&](int i, int j, int k) { return low + Vec{i * step, j * step, k * step}; };
  std::vector<double> value(static_cast<std::size_t>(nx) * ny * nz, 0.0);
  std::vector<std::uint8_t> exact(value.size(), 0), known(value.size(), 0);

  // Blocks whose centre lies well away from the surface hold none of it:
  // their points only need the centre's sign.
  constexpr int B = 4;
  const double reach = 1.3 * B * step * std::sqrt(3.0) / 2 + step;
  for (int k0 = 0; k0 < nz - 1; k0 += B)
    for (int j0 = 0; j0 < ny - 1; j0 += B)
      for (int i0 = 0; i0 < nx - 1; i0 += B) {
        const int i1 = std::min(i0 + B, nx - 1), j1 = std::min(j0 + B, ny - 1), k1 = std::min(k0 + B, nz - 1);
        const double centre = field(at(i0, j0, k0) + (at(i1, j1, k1) - at(i0, j0, k0)) * 0.5);
        const bool skip = std::abs(centre) > reach;
        for (int k = k0; k <= k1; ++k)
          for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i) {
              const std::size_t g = index(i, j, k);
              if (exact[g] || (skip && known[g])) continue;
              value[g] = skip ? centre : field(at(i, j, k));
              exact[g] = !skip;
              known[g] = 1;
            }
      }

  TriMesh m;
  std::unordered_map<std::int64_t, int> edgePoint;  // looked up only, never walked
  auto pointOn = [&](int ci, int cj, int ck, int a, int b) {
    // corners a < b with b's bits a superset of a's: the edge runs from grid
    // point a in a direction of 0/1 steps
    const int ai = ci + (a & 1), aj = cj + ((a >> 1) & 1), ak = ck + ((a >> 2) & 1);
    const std::size_t ga = index(ai, aj, ak);
    const std::int64_t key = static_cast<std::int64_t>(ga) * 8 + (b ^ a);
    const auto found = edgePoint.find(key);
    if (found != edgePoint.end()) return found->second;
    const std::size_t gb = index(ci + (b & 1), cj + ((b >> 1) & 1), ck + ((b >> 2) & 1));
    const double t = std::clamp(value[ga] / (value[ga] - value[gb]), 1e-3, 1 - 1e-3);
    const Vec pa = at(ai, aj, ak), pb = at(ci + (b & 1), cj + ((b >> 1) & 1), ck + ((b >> 2) & 1));
    m.points.push_back(lerp(pa, pb, t));
    const int id = static_cast<int>(m.points.size()) - 1;
    edgePoint.emplace(key, id);
    return id;
  };
  auto emit = [&](int p, int q, int r, Vec outward) {
    std::array<int, 3> t{p, q, r};
    if (dot(faceNormal(m, t), outward) < 0) std::swap(t[1], t[2]);
    m.tris.push_back(t);
  };
  for (int k = 0; k + 1 < nz; ++k)
    for (int j = 0; j + 1 < ny; ++j)
      for (int i = 0; i + 1 < nx; ++i) {
        double v[8];
        int inside = 0;
        for (int c = 0; c < 8; ++c) {
          v[c] = value[index(i + (c & 1), j + ((c >> 1) & 1), k + ((c >> 2) & 1))];
          inside += v[c] < 0;
        }
        if (inside == 0 || inside == 8) continue;
        const Vec origin = at(i, j, k);
        auto corner = [&](int c) { return origin + Vec{(c & 1) * step, ((c >> 1) & 1) * step, ((c >> 2) & 1) * step}; };
        for (const auto& tet : kTets) {
          int in[4], out[4], ni = 0, no = 0;
          for (int c : tet) (v[c] < 0 ? in[ni++] : out[no++]) = c;
          if (ni == 0 || no == 0) continue;
          Vec cin, cout;
          for (int s = 0; s < ni; ++s) cin = cin + corner(in[s]) * (1.0 / ni);
          for (int s = 0; s < no; ++s) cout = cout + corner(out[s]) * (1.0 / no);
          const Vec outward = cout - cin;
          auto cut = [&](int a, int b) { return a < b ? pointOn(i, j, k, a, b) : pointOn(i, j, k, b, a); };
          if (ni == 1 || no == 1) {
            const int lone = ni == 1 ? in[0] : out[0];
            const int* rest = ni == 1 ? out : in;
            emit(cut(lone, rest[0]), cut(lone, rest[1]), cut(lone, rest[2]), outward);
          } else {
            const int p = cut(in[0], out[0]), q = cut(in[0], out[1]), r = cut(in[1], out[1]), s = cut(in[1], out[0]);
            emit(p, q, r, outward);
            emit(p, r, s, outward);
          }
        }
      }
  return m;
}

void taubin(TriMesh& m, int passes) {
  const auto n = neighbours(m);
  for (int p = 0; p < passes; ++p) {
    laplacian(m, n, 0.5);
    laplacian(m, n, -0.53);
  }
}

namespace {

// Sum of squared distances to planes, as the symmetric 4 x 4 matrix
// [A b; b' c] of Garland and Heckbert.
struct Quadric {
  double a[6] = {}, b[3] = {}, c = 0;
  void addPlane(Vec n, double d, double w) {
    a[0] += w * n.x * n.x, a[1] += w * n.x * n.y, a[2] += w * n.x * n.z;
    a[3] += w * n.y * n.y, a[4] += w * n.y * n.z, a[5] += w * n.z * n.z;
    b[0] += w * n.x * d, b[1] += w * n.y * d, b[2] += w * n.z * d;
    c += w * d * d;
  }
  Quadric& operator+=(const Quadric& q) {
    for (int i = 0; i < 6; ++i) a[i] += q.a[i];
    for (int i = 0; i < 3; ++i) b[i] += q.b[i];
    c += q.c;
    return *this;
  }
  double error(Vec p) const {
    return a[0] * p.x * p.x + 2 * a[1] * p.x * p.y + 2 * a[2] * p.x * p.z + a[3] * p.y * p.y + 2 * a[4] * p.y * p.z +
           a[5] * p.z * p.z + 2 * (b[0] * p.x + b[1] * p.y + b[2] * p.z) + c;
  }
  // The point of least error, if the planes pin one down.
  bool minimum(Vec& p) const {
    const double m00 = a[3] * a[5] - a[4] * a[4], m01 = a[2] * a[4] - a[1] * a[5], m02 = a[1] * a[4] - a[2] * a[3];
    const double det = a[0] * m00 + a[1] * m01 + a[2] * m02;
    const double scale = a[0] * a[3] * a[5];
    if (!(std::abs(det) > 1e-6 * std::abs(scale)) || det == 0) return false;
    const double m11 = a[0] * a[5] - a[2] * a[2], m12 = a[1] * a[2] - a[0] * a[4], m22 = a[0] * a[3] - a[1] * a[1];
    p = Vec{-(m00 * b[0] + m01 * b[1] + m02 * b[2]), -(m01 * b[0] + m11 * b[1] + m12 * b[2]),
            -(m02 * b[0] + m12 * b[1] + m22 * b[2])} *
        (1.0 / det);
    return true;
  }
};

struct Candidate {
  float cost;
  int u, v;
  std::uint16_t su, sv;  // the vertices' stamps when this was costed
  bool operator<(const Candidate& o) const {
    // the heap's top is the cheapest; ties broken by the indices
    if (cost != o.cost) return cost > o.cost;
    if (u != o.u) return u > o.u;
    return v > o.v;
  }
};

// Cosine of the sharpest bend the decimation may leave between two faces.
const double kLeastBendCos = std::cos(28.0 * 3.14159265358979323846 / 180);

class Decimator {
 public:
  Decimator(TriMesh& m, bool keepBends)
      : m_(m), keepBends_(keepBends), q_(m.points.size()), vf_(m.points.size()), stamp_(m.points.size(), 0) {
    alive_.assign(m.tris.size(), 1);
    normal_.resize(m.tris.size());
    double area = 0;
    for (std::size_t f = 0; f < m.tris.size(); ++f) {
      const Vec n = faceNormal(m, m.tris[f]);
      const double len = std::sqrt(dot(n, n));
      normal_[f] = len > 0 ? n * (1 / len) : n;
      area += len / 2;
      for (int k : m.tris[f]) vf_[sz(k)].push_back(static_cast<int>(f));
      if (len == 0) continue;
      const Vec u = n * (1.0 / len);
      for (int k : m.tris[f]) q_[sz(k)].addPlane(u, -dot(u, m.points[sz(k)]), len / 2);
    }
    // the length term, in the quadrics' units (area times squared
    // distance): flat stretches still get triangles of even size
    lengthWeight_ = 0.05 * area / static_cast<double>(std::max<std::size_t>(1, m.tris.size()));
    live_ = m.tris.size();
  }

  void run(std::size_t faces) {
    for (std::size_t f = 0; f < m_.tris.size(); ++f)
      for (int k = 0; k < 3; ++k) {
        const int a = m_.tris[f][static_cast<std::size_t>(k)], b = m_.tris[f][static_cast<std::size_t>((k + 1) % 3)];
        if (a < b) push(a, b);
      }
    while (live_ > faces && !heap_.empty()) {
      const Candidate c = heap_.top();
      heap_.pop();
      if (stamp_[sz(c.u)] != c.su || stamp_[sz(c.v)] != c.sv) continue;
      Vec to;
      cost(c.u, c.v, to);
      if (!collapsible(c.u, c.v, to)) continue;
      collapse(c.u, c.v, to);
    }
    compact();
  }

 private:
  static std::size_t sz(int i) { return static_cast<std::size_t>(i); }
  static bool has(const std::array<int, 3>& t, int k) { return t[0] == k || t[1] == k || t[2] == k; }

  double cost(int u, int v, Vec& target) const {
    Quadric q = q_[sz(u)];
    q += q_[sz(v)];
    const Vec pu = m_.points[sz(u)], pv = m_.points[sz(v)];
    target = lerp(pu, pv, 0.5);
    double c = q.error(target);
    Vec opt;
    if (q.minimum(opt) && dot(opt - target, opt - target) < dot(pu - pv, pu - pv)) {
      target = opt;
      c = q.error(opt);
    } else {
      for (Vec p : {pu, pv})
        if (q.error(p) < c) c = q.error(p), target = p;
    }
    return std::max(c, 0.0) + lengthWeight_ * dot(pu - pv, pu - pv);
  }

  void push(int u, int v) {
    Vec target;
    heap_.push({static_cast<float>(cost(u, v, target)), u, v, stamp_[sz(u)], stamp_[sz(v)]});
  }

  std::vector<int> ring(int u) const {
    std::vector<int> r;
    for (int f : vf_[sz(u)])
      for (int k : m_.tris[sz(f)])
        if (k != u) r.push_back(k);
    std::sort(r.begin(), r.end());
    r.erase(std::unique(r.begin(), r.end()), r.end());
    return r;
  }

  static Vec unitOf(Vec n) {
    const double l = std::sqrt(dot(n, n));
    return l > 0 ? n * (1 / l) : n;
  }
  static Vec unitNormal(const Vec* p) { return unitOf(cross(p[1] - p[0], p[2] - p[0])); }

  // The sharpest bend (least cosine between face normals) over the edges of
  // the faces around u and v, as they are or, with `moved`, once v has moved
  // into u at `target`.
  double sharpestBend(int u, int v, Vec target, bool moved) const {
    auto corner = [&](int f, std::size_t k) {
      const int c = m_.tris[sz(f)][k];
      return moved && c == v ? u : c;
    };
    auto gone = [&](int f) { return moved && has(m_.tris[sz(f)], u) && has(m_.tris[sz(f)], v); };
    // the faces around, each with its normal as it would be
    std::vector<std::pair<int, Vec>>& around = scratch_;
    around.clear();
    for (int w : {u, v})
      for (int f : vf_[sz(w)]) {
        if (gone(f) || (w == v && has(m_.tris[sz(f)], u))) continue;
        Vec p[3];
        for (std::size_t k = 0; k < 3; ++k) {
          const int c = corner(f, k);
          p[k] = moved && c == u ? target : m_.points[sz(c)];
        }
        around.emplace_back(f, moved ? unitNormal(p) : normal_[sz(f)]);
      }
    double least = 1;
    for (const auto& [f, nf] : around)
      for (std::size_t k = 0; k < 3; ++k) {
        const int p = corner(f, k), q = corner(f, (k + 1) % 3);
        for (int from : {p, moved && p == u ? v : -1}) {
          if (from < 0) continue;
          for (int g : vf_[sz(from)]) {
            if (g == f || gone(g)) continue;
            if (corner(g, 0) != q && corner(g, 1) != q && corner(g, 2) != q) continue;
            Vec ng = normal_[sz(g)];
            for (const auto& [h, nh] : around)
              if (h == g) ng = nh;
            least = std::min(least, dot(nf, ng));
          }
        }
      }
    return least;
  }

  bool collapsible(int u, int v, Vec target) const {
    // link condition: the two rings share exactly the two vertices opposite
    // the edge, or the collapse would pinch the surface
    const std::vector<int> ru = ring(u), rv = ring(v);
    std::vector<int> common;
    std::set_intersection(ru.begin(), ru.end(), rv.begin(), rv.end(), std::back_inserter(common));
    int shared = 0;
    for (int f : vf_[sz(u)]) shared += has(m_.tris[sz(f)], v);
    if (shared != 2 || common.size() != 2) return false;
    // no triangle may turn over or go thin
    for (int w : {u, v})
      for (int f : vf_[sz(w)]) {
        const auto& t = m_.tris[sz(f)];
        if (has(t, u) && has(t, v)) continue;
        const Vec before = faceNormal(m_, t);
        Vec p[3];
        for (int k = 0; k < 3; ++k) p[k] = t[sz(k)] == w ? target : m_.points[sz(t[sz(k)])];
        const Vec after = cross(p[1] - p[0], p[2] - p[0]);
        const double la = std::sqrt(dot(after, after)), lb = std::sqrt(dot(before, before));
        if (dot(after, before) < 0.5 * la * lb) return false;
        const double edges =
            dot(p[1] - p[0], p[1] - p[0]) + dot(p[2] - p[1], p[2] - p[1]) + dot(p[0] - p[2], p[0] - p[2]);
        if (la * 2 * std::sqrt(3.0) < 0.15 * edges) return false;  // quality 4 sqrt(3) area / sum of squares
      }
    // nor may it leave a sharper bend than there was
    if (!keepBends_) return true;
    const double bend = sharpestBend(u, v, target, true);
    return bend >= kLeastBendCos || bend >= sharpestBend(u, v, target, false);
  }

  void collapse(int u, int v, Vec target) {
    for (int f : vf_[sz(v)]) {
      auto& t = m_.tris[sz(f)];
      if (has(t, u)) {
        alive_[sz(f)] = 0;
        --live_;
        for (int k : t)
          if (k != u && k != v) std::erase(vf_[sz(k)], f);
        std::erase(vf_[sz(u)], f);
      } else {
        for (int& k : t)
          if (k == v) k = u;
        vf_[sz(u)].push_back(f);
      }
    }
    vf_[sz(v)].clear();
    q_[sz(u)] += q_[sz(v)];
    m_.points[sz(u)] = target;
    for (int f : vf_[sz(u)]) normal_[sz(f)] = unitOf(faceNormal(m_, m_.tris[sz(f)]));
    ++stamp_[sz(u)];
    ++stamp_[sz(v)];
    for (int w : ring(u)) push(std::min(u, w), std::max(u, w));
  }

  void compact() {
    std::vector<int> remap(m_.points.size(), -1);
    TriMesh out;
    for (std::size_t f = 0; f < m_.tris.size(); ++f) {
      if (!alive_[f]) continue;
      std::array<int, 3> t{};
      for (std::size_t k = 0; k < 3; ++k) {
        int& r = remap[sz(m_.tris[f][k])];
        if (r < 0) {
          r = static_cast<int>(out.points.size());
          out.points.push_back(m_.points[sz(m_.tris[f][k])]);
        }
        t[k] = r;
      }
      out.tris.push_back(t);
    }
    m_ = std::move(out);
  }

  TriMesh& m_;
  bool keepBends_;
  std::vector<Quadric> q_;
  std::vector<std::vector<int>> vf_;
  std::vector<std::uint16_t> stamp_;
  std::vector<std::uint8_t> alive_;
  std::vector<Vec> normal_;
  mutable std::vector<std::pair<int, Vec>> scratch_;
  std::priority_queue<Candidate> heap_;
  std::size_t live_ = 0;
  double lengthWeight_ = 0;
};

}  // namespace

void decimate(TriMesh& m, std::size_t faces, bool keepBends) { Decimator(m, keepBends).run(faces); }

namespace {

// One Newton step onto the field's zero set along its gradient.
Vec ontoField(const Field& field, Vec q) {
  constexpr double e = 0.01;
  const double f = field(q);
  const Vec g{field(q + Vec{e, 0, 0}) - f, field(q + Vec{0, e, 0}) - f, field(q + Vec{0, 0, e}) - f};
  const double gg = dot(g, g);
  return gg > 1e-18 ? q - g * (f * e / gg) : q;
}

std::int64_t edgeKey(int a, int b) {
  return (static_cast<std::int64_t>(std::min(a, b)) << 32) | static_cast<std::uint32_t>(std::max(a, b));
}

}  // namespace

void relaxOnto(TriMesh& m, const Field& field, int passes) {
  const auto n = neighbours(m);
  for (int p = 0; p < passes; ++p) {
    std::vector<Vec> normal(m.points.size());
    for (const auto& t : m.tris)
      for (int k : t) normal[static_cast<std::size_t>(k)] = normal[static_cast<std::size_t>(k)] + faceNormal(m, t);
    std::vector<Vec> next = m.points;
    for (std::size_t i = 0; i < m.points.size(); ++i) {
      const Vec nu = unit(normal[i]);
      Vec d = centroidOf(m, n[i]) - m.points[i];
      d = d - nu * dot(d, nu);
      next[i] = ontoField(field, m.points[i] + d * 0.5);
    }
    m.points = std::move(next);
  }
}

std::size_t refineBends(TriMesh& m, const Field& field, double degrees) {
  // faces on either side of each edge, found by sorting the edges
  std::vector<std::pair<std::int64_t, int>> edges;
  for (std::size_t f = 0; f < m.tris.size(); ++f)
    for (std::size_t k = 0; k < 3; ++k)
      edges.emplace_back(edgeKey(m.tris[f][k], m.tris[f][(k + 1) % 3]), static_cast<int>(f));
  std::sort(edges.begin(), edges.end());
  const double least = std::cos(degrees * 3.14159265358979323846 / 180);
  std::vector<std::uint8_t> marked(m.tris.size(), 0);
  for (std::size_t i = 0; i + 1 < edges.size(); ++i) {
    if (edges[i].first != edges[i + 1].first) continue;
    const int f = edges[i].second, g = edges[i + 1].second;
    if (dot(unit(faceNormal(m, m.tris[static_cast<std::size_t>(f)])),
            unit(faceNormal(m, m.tris[static_cast<std::size_t>(g)]))) < least)
      marked[static_cast<std::size_t>(f)] = marked[static_cast<std::size_t>(g)] = 1;
  }
  // every edge of a marked face is cut; a face with two cut edges gets its
  // third cut too, until faces have none, one or three
  std::vector<std::int64_t> cut;
  auto isCut = [&](int a, int b) { return std::binary_search(cut.begin(), cut.end(), edgeKey(a, b)); };
  for (std::size_t f = 0; f < m.tris.size(); ++f)
    if (marked[f])
      for (std::size_t k = 0; k < 3; ++k) cut.push_back(edgeKey(m.tris[f][k], m.tris[f][(k + 1) % 3]));
  std::size_t split = 0;
  for (bool grew = true; grew;) {
    std::sort(cut.begin(), cut.end());
    cut.erase(std::unique(cut.begin(), cut.end()), cut.end());
    grew = false;
    std::vector<std::int64_t> more;
    for (const auto& t : m.tris) {
      int n = 0;
      for (std::size_t k = 0; k < 3; ++k) n += isCut(t[k], t[(k + 1) % 3]);
      if (n == 2)
        for (std::size_t k = 0; k < 3; ++k) more.push_back(edgeKey(t[k], t[(k + 1) % 3]));
    }
    grew = !more.empty();
    cut.insert(cut.end(), more.begin(), more.end());
  }
  std::vector<int> middle(cut.size());
  for (std::size_t i = 0; i < cut.size(); ++i) {
    const int a = static_cast<int>(cut[i] >> 32), b = static_cast<int>(cut[i] & 0xffffffff);
    m.points.push_back(ontoField(field, ontoField(field, lerp(m.points[static_cast<std::size_t>(a)],
                                                              m.points[static_cast<std::size_t>(b)], 0.5))));
    middle[i] = static_cast<int>(m.points.size()) - 1;
  }
  auto mid = [&](int a, int b) {
    return middle[static_cast<std::size_t>(std::lower_bound(cut.begin(), cut.end(), edgeKey(a, b)) - cut.begin())];
  };
  std::vector<std::array<int, 3>> out;
  for (const auto& t : m.tris) {
    int n = 0, at = 0;
    for (int k = 0; k < 3; ++k)
      if (isCut(t[static_cast<std::size_t>(k)], t[static_cast<std::size_t>((k + 1) % 3)])) ++n, at = k;
    const int a = t[static_cast<std::size_t>(at)], b = t[static_cast<std::size_t>((at + 1) % 3)],
              c = t[static_cast<std::size_t>((at + 2) % 3)];
    if (n == 0) {
      out.push_back(t);
    } else if (n == 1) {
      const int ab = mid(a, b);
      out.push_back({a, ab, c});
      out.push_back({ab, b, c});
      ++split;
    } else {
      const int ab = mid(a, b), bc = mid(b, c), ca = mid(c, a);
      out.push_back({a, ab, ca});
      out.push_back({ab, b, bc});
      out.push_back({ca, bc, c});
      out.push_back({ab, bc, ca});
      ++split;
    }
  }
  m.tris = std::move(out);
  return split;
}

std::vector<int> cutRegions(TriMesh& m, const Field& field, const std::vector<std::vector<double>>& score) {
  std::vector<int> region(m.points.size());
  for (std::size_t i = 0; i < m.points.size(); ++i)
    region[i] = static_cast<int>(std::min_element(score[i].begin(), score[i].end()) - score[i].begin());
  std::unordered_map<std::int64_t, int> crossing;  // looked up only, never walked
  auto cross = [&](int a, int b) {
    const auto found = crossing.find(edgeKey(a, b));
    if (found != crossing.end()) return found->second;
    const std::size_t ia = static_cast<std::size_t>(std::min(a, b)), ib = static_cast<std::size_t>(std::max(a, b));
    const int ra = region[ia], rb = region[ib];
    const double sa = score[ia][static_cast<std::size_t>(ra)] - score[ia][static_cast<std::size_t>(rb)];
    const double sb = score[ib][static_cast<std::size_t>(ra)] - score[ib][static_cast<std::size_t>(rb)];
    // where the two scores tie, kept off the ends so that no sliver forms
    const double t = std::clamp(sa / (sa - sb), 0.15, 0.85);
    m.points.push_back(ontoField(field, ontoField(field, lerp(m.points[ia], m.points[ib], t))));
    const int id = static_cast<int>(m.points.size()) - 1;
    crossing.emplace(edgeKey(a, b), id);
    return id;
  };
  std::vector<std::array<int, 3>> tris;
  std::vector<int> faceRegion;
  auto add = [&](int a, int b, int c, int r) {
    tris.push_back({a, b, c});
    faceRegion.push_back(r);
  };
  for (const auto& t : m.tris) {
    const int r0 = region[static_cast<std::size_t>(t[0])], r1 = region[static_cast<std::size_t>(t[1])],
              r2 = region[static_cast<std::size_t>(t[2])];
    if (r0 == r1 && r1 == r2) {
      add(t[0], t[1], t[2], r0);
    } else if (r0 != r1 && r1 != r2 && r0 != r2) {
      // three regions meet: a point in the middle, two triangles a corner
      const Vec c = (m.points[static_cast<std::size_t>(t[0])] + m.points[static_cast<std::size_t>(t[1])] +
                     m.points[static_cast<std::size_t>(t[2])]) *
                    (1.0 / 3);
      m.points.push_back(ontoField(field, ontoField(field, c)));
      const int mid = static_cast<int>(m.points.size()) - 1;
      for (std::size_t k = 0; k < 3; ++k) {
        const int a = t[k], b = t[(k + 1) % 3], before = t[(k + 2) % 3];
        add(a, cross(a, b), mid, region[static_cast<std::size_t>(a)]);
        add(a, mid, cross(before, a), region[static_cast<std::size_t>(a)]);
      }
    } else {
      // two corners a, b share a region, c stands alone
      const std::size_t k = r0 == r1 ? 2 : (r1 == r2 ? 0 : 1);
      const int c = t[k], a = t[(k + 1) % 3], b = t[(k + 2) % 3];
      const int x = cross(b, c), y = cross(c, a);
      add(x, c, y, region[static_cast<std::size_t>(c)]);
      add(a, b, x, region[static_cast<std::size_t>(a)]);
      add(a, x, y, region[static_cast<std::size_t>(a)]);
    }
  }
  m.tris = std::move(tris);
  return faceRegion;
}

}  // namespace datagen::mesh
