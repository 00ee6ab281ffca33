// The sculpted figures: one closed, smooth surface each, within the face
// budget, in the box the scenes were laid out around, growing from the
// feet up as the layers draw a share of their faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "meshes.h"

using namespace datagen;

namespace {
// Each scene built once: the figures take most of a second each.
const MeshScene& built(const std::string& name) {
  static std::map<std::string, MeshScene> scenes;
  auto found = scenes.find(name);
  if (found == scenes.end()) found = scenes.emplace(name, buildMesh(name)).first;
  return found->second;
}

struct Figure {
  std::size_t faces = 0;
  double smoothShare = 0;  // of edges inside a smoothing group, those bent 35 degrees or less
  // edges, matched by their corners' positions, not run once each way by
  // two faces: a hole, a seam or a face turned over
  std::size_t unpaired = 0;
  double volume = 0;  // positive when the faces turn outwards
  std::array<float, 3> low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
};

std::array<float, 3> at(const MeshObject& o, std::uint16_t i) {
  return {o.vertices[i].x, o.vertices[i].y, o.vertices[i].z};
}

Figure measure(const MeshScene& scene) {
  Figure fig;
  std::map<std::array<float, 6>, int> wholeEdges;
  std::size_t inGroup = 0, smooth = 0;
  for (const MeshObject& o : scene.objects) {
    fig.faces += o.faces.size();
    std::vector<std::array<double, 3>> normal;
    std::map<std::pair<int, int>, std::vector<std::size_t>> edges;
    for (std::size_t i = 0; i < o.faces.size(); ++i) {
      const MeshFace& f = o.faces[i];
      const auto a = at(o, f.a), b = at(o, f.b), c = at(o, f.c);
      const std::array<double, 3> u{b[0] - a[0], b[1] - a[1], b[2] - a[2]}, v{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
      std::array<double, 3> n{u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
      const double len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      for (double& x : n) x /= len;
      normal.push_back(n);
      fig.volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                     a[2] * (b[0] * c[1] - b[1] * c[0])) /
                    6;
      const std::uint16_t corner[3] = {f.a, f.b, f.c};
      for (int k = 0; k < 3; ++k) {
        const std::uint16_t p = corner[k], q = corner[(k + 1) % 3];
        edges[{std::min(p, q), std::max(p, q)}].push_back(i);
        const auto s = at(o, p), e = at(o, q);
        ++wholeEdges[{s[0], s[1], s[2], e[0], e[1], e[2]}];
      }
      for (int k = 0; k < 3; ++k) {
        fig.low[k] = std::min({fig.low[k], a[k], b[k], c[k]});
        fig.high[k] = std::max({fig.high[k], a[k], b[k], c[k]});
      }
    }
    for (const auto& [edge, faces] : edges) {
      if (faces.size() != 2 || (o.faces[faces[0]].smoothing & o.faces[faces[1]].smoothing) == 0) continue;
      const auto &n = normal[faces[0]], &m = normal[faces[1]];
      ++inGroup;
      smooth += n[0] * m[0] + n[1] * m[1] + n[2] * m[2] >= std::cos(35.0 * 3.14159265358979 / 180);
    }
  }
  for (const auto& [edge, count] : wholeEdges) {
    const auto back = wholeEdges.find({edge[3], edge[4], edge[5], edge[0], edge[1], edge[2]});
    fig.unpaired += count != 1 || back == wholeEdges.end() || back->second != 1;
  }
  fig.smoothShare = static_cast<double>(smooth) / static_cast<double>(inGroup);
  return fig;
}

TEST(Figures, AreOneClosedSmoothSurfaceWithinTheFaceBudget) {
  for (const char* name : {"man.3ds", "man_gon.3ds"}) {
    const Figure fig = measure(built(name));
    EXPECT_GE(fig.faces, 10000u) << name;
    EXPECT_LE(fig.faces, 20000u) << name;
    EXPECT_GE(fig.smoothShare, 0.99) << name;
    // closed over the whole body (the cuts between objects share their
    // corners), every face turned outwards: culling keeps the front
    EXPECT_EQ(fig.unpaired, 0u) << name;
    EXPECT_GT(fig.volume, 0) << name;
  }
}

TEST(Figures, StandingManKeepsTheTubeFiguresBox) {
  // the box of the figure the scenes were laid out around: 107.4 wide
  // between the hands, feet at 0, crown at 179, toes 16 in front
  const Figure fig = measure(built("man.3ds"));
  EXPECT_NEAR(fig.low[0], -53.7, 1.5);
  EXPECT_NEAR(fig.high[0], 53.7, 1.5);
  EXPECT_NEAR(fig.low[1], -0.3, 0.5);
  EXPECT_NEAR(fig.high[1], 179.0, 1.0);
  EXPECT_NEAR(fig.low[2], -10.7, 1.5);
  EXPECT_NEAR(fig.high[2], 16.1, 1.5);
}

TEST(Figures, FacesGrowFromTheFeetUpWithinEachObject) {
  // object, the height the first 5 % of its faces stay under, the height
  // the last 5 % stay over
  const struct {
    const char* name;
    float below, above;
  } kStanding[] = {{"foot_l", 1, 5},   {"leg_l", 8, 88},   {"torso", 85, 150}, {"neck", 146, 157},
                   {"head", 157, 175}, {"arm_l", 91, 143}, {"hand_l", 74, 86}, {"foot_r", 1, 5},
                   {"leg_r", 8, 88},   {"arm_r", 91, 143}, {"hand_r", 74, 86}};
  for (const char* name : {"man.3ds", "man_gon.3ds"})
    for (const MeshObject& o : built(name).objects) {
      std::vector<double> height;
      for (const MeshFace& f : o.faces)
        height.push_back((double{o.vertices[f.a].y} + o.vertices[f.b].y + o.vertices[f.c].y) / 3);
      EXPECT_TRUE(std::is_sorted(height.begin(), height.end())) << name << " " << o.name;
      if (std::string(name) != "man.3ds") continue;
      const std::size_t tail = height.size() / 20;
      for (const auto& g : kStanding)
        if (o.name == g.name) {
          EXPECT_LT(height[tail], g.below) << o.name;
          EXPECT_GT(height[height.size() - 1 - tail], g.above) << o.name;
        }
    }
}
}  // namespace
