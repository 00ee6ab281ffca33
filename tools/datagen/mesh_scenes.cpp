// The five scenes: a standing and a kneeling figure, a heart, the water
// plane and the ground.
#include <cmath>
#include <stdexcept>

#include "figure.h"
#include "image.h"
#include "mesh_build.h"
#include "rng.h"

namespace datagen {

using namespace mesh;

namespace {

MeshMaterial material(std::string name, std::array<std::uint8_t, 3> diffuse, std::string texture,
                      std::string bump = {}) {
  MeshMaterial m;
  m.name = std::move(name);
  m.diffuse = diffuse;
  m.ambient = {static_cast<std::uint8_t>(diffuse[0] / 4), static_cast<std::uint8_t>(diffuse[1] / 4),
               static_cast<std::uint8_t>(diffuse[2] / 4)};
  m.specular = {200, 200, 200};
  m.texture = std::move(texture);
  m.bump = std::move(bump);
  return m;
}

MeshScene figure(bool kneel) {
  MeshScene sc;
  if (kneel) {
    sc.materials.push_back(material("marble", {230, 215, 195}, "GONI.JPG", "SKINBUMP.JPG"));
    sc.materials.push_back(material("marble_vein", {170, 160, 150}, "GONI.JPG"));
  } else {
    sc.materials.push_back(material("skin", {235, 190, 165}, "SKIN.JPG", "SKINBUMP.JPG"));
    sc.materials.push_back(material("skin_dark", {200, 150, 130}, "SKIN.JPG"));
  }
  sc.objects = figureObjects(kneel);
  return sc;
}

MeshScene heart() {
  MeshScene sc;
  sc.materials.push_back(material("myocard", {190, 50, 45}, "HEART.JPG", "HEARTB.JPG"));
  sc.materials.push_back(material("artery", {200, 60, 60}, "VESSEL.JPG"));
  sc.materials.push_back(material("vein", {90, 70, 150}, "VESSEL.JPG"));
  sc.materials.push_back(material("fat", {240, 210, 140}, "FATBLEND.JPG"));
  const Vec apex{-12, -58, 10}, base{6, 34, -4};
  const Vec axis = unit(base - apex);
  const double len = std::sqrt(dot(base - apex, base - apex));
  auto bodyRadius = [](double t, double phi) {
    const double prof = std::pow(std::sin(kPi * (0.04 + 0.58 * t)), 0.75);
    double r = 44 * prof * (1 + 0.09 * std::cos(phi - 1.1));
    // the groove between the ventricles winds a little around the body
    double g = std::remainder(phi - (2.3 + 0.7 * t), 2 * kPi);
    r *= 1 - 0.06 * std::exp(-g * g / 0.02) * std::sin(kPi * std::min(1.0, t * 1.1));
    return r * rounded(t, 0.05);
  };
  {
    MeshObject o;
    o.name = "ventricle";
    Tube tb;
    tb.spine = [=](double t) { return apex + axis * (len * t); };
    tb.radius = bodyRadius;
    tb.reference = {1, 0, 0};
    tb.rings = 48;
    tb.segments = 40;
    addTube(o, tb);
    sc.objects.push_back(std::move(o));
  }
  // atria sit on top of the ventricles, left one further back
  for (int s = 0; s < 2; ++s) {
    MeshObject o;
    o.name = s ? "atrium_r" : "atrium_l";
    const Vec c = s ? Vec{-20, 36, 4} : Vec{24, 38, -10};
    addEllipsoid(o, c, {18, 15, 16}, 18, 22, 1, 0, [s](Vec d) { return 1 + 0.08 * std::sin(5 * d.x + 3 * d.z + s); });
    sc.objects.push_back(std::move(o));
  }
  auto vessel = [&](std::string name, std::vector<Vec> pts, double r, int mat, int rings) {
    MeshObject o;
    o.name = std::move(name);
    Tube tb;
    tb.spine = [pts](double t) { return spline(pts, t); };
    tb.radius = [r](double t, double) { return r * (1 - 0.12 * t); };
    const Vec dir = pts.back() - pts.front();
    tb.reference = std::abs(dir.x) > std::abs(dir.y) ? Vec{0, 1, 0} : Vec{1, 0, 0};
    tb.rings = rings;
    tb.segments = 18;
    tb.smoothing = 2;
    tb.capSmoothing = 4;  // cut ends
    tb.material = mat;
    tb.vRepeat = 3;
    addTube(o, tb);
    return o;
  };
  sc.objects.push_back(vessel(
      "aorta", {{4, 22, -2}, {6, 52, 0}, {2, 74, -4}, {-14, 80, -10}, {-26, 66, -16}, {-30, 30, -20}}, 10.5, 1, 40));
  sc.objects.push_back(vessel("brachio", {{0, 76, -4}, {4, 96, -3}, {8, 112, -2}}, 4.2, 1, 10));
  sc.objects.push_back(vessel("carotid", {{-8, 80, -8}, {-8, 100, -8}, {-7, 114, -8}}, 3.6, 1, 10));
  sc.objects.push_back(vessel("subclav", {{-18, 78, -12}, {-26, 94, -13}, {-36, 104, -14}}, 3.8, 1, 10));
  sc.objects.push_back(vessel("pulmonary", {{-6, 26, 16}, {-12, 50, 14}, {-22, 62, 6}, {-40, 64, 0}}, 8.5, 2, 24));
  sc.objects.push_back(vessel("cava_sup", {{22, 34, -14}, {24, 60, -14}, {25, 88, -13}}, 6.5, 2, 16));
  sc.objects.push_back(vessel("cava_inf", {{22, 20, -16}, {26, 0, -18}, {28, -24, -20}}, 7.0, 2, 14));
  // coronary arteries lie on the surface along the groove and around the base
  auto onSurface = [&](double t, double phi, double lift) {
    const Vec N = unit(Vec{1, 0, 0} - axis * dot(Vec{1, 0, 0}, axis));
    const Vec B = cross(axis, N);
    return apex + axis * (len * t) + (N * std::cos(phi) + B * std::sin(phi)) * (bodyRadius(t, phi) + lift);
  };
  {
    std::vector<Vec> pts;
    for (int i = 0; i <= 10; ++i) {
      const double t = 0.92 - 0.8 * i / 10.0;
      pts.push_back(onSurface(t, 2.3 + 0.7 * t, 1.2));
    }
    sc.objects.push_back(vessel("coronary_l", pts, 1.7, 1, 40));
    pts.clear();
    for (int i = 0; i <= 12; ++i) pts.push_back(onSurface(0.86 - 0.1 * std::sin(i * 0.4), 2.6 + 3.2 * i / 12.0, 1.2));
    sc.objects.push_back(vessel("coronary_r", pts, 1.5, 1, 40));
  }
  {
    MeshObject o;
    o.name = "fat";
    Rng rng(1771);
    for (int k = 0; k < 5; ++k) {
      const double phi = 2.0 + 0.5 * k, t = 0.78 + 0.05 * rng.uniform();
      const Vec c = onSurface(t, phi, 2.0);
      addEllipsoid(o, c, {7 + 3 * rng.uniform(), 5, 6 + 2 * rng.uniform()}, 10, 14, 8, 3);
    }
    sc.objects.push_back(std::move(o));
  }
  return sc;
}

MeshScene waterPlane() {
  MeshScene sc;
  sc.materials.push_back(material("water", {80, 140, 160}, "WATER.JPG"));
  MeshObject o;
  o.name = "water";
  addGrid(
      o, 128, 100.0, [](double, double) { return 0.0; }, 4.0, 1, 0);
  sc.objects.push_back(std::move(o));
  return sc;
}

MeshScene ground() {
  MeshScene sc;
  sc.materials.push_back(material("ground", {150, 120, 90}, "GROUND.JPG", "GROUNDB.JPG"));
  sc.materials.push_back(material("rock", {130, 130, 140}, "GONI.JPG", "GROUNDB.JPG"));
  MeshObject o;
  o.name = "ground";
  // rolling land around a calmer middle, lower towards the rim
  auto height = [](double x, double y) {
    const double r = std::hypot(x, y);
    const double hills = (fbm3(x / 140 + 5, y / 140, 0.5, 4, 3) - 0.5) * 70;
    return hills * smoothstep(60, 220, r) - 18 * smoothstep(250, 400, r);
  };
  addGrid(o, 96, 400.0, height, 8.0, 1, 0);
  sc.objects.push_back(std::move(o));
  Rng rng(88);
  for (int k = 0; k < 6; ++k) {
    MeshObject rock;
    rock.name = "rock" + std::to_string(k + 1);
    const double a = rng.range(0, 2 * kPi), d = rng.range(90, 300);
    const double x = std::cos(a) * d, y = std::sin(a) * d;
    const Vec c{x, y, height(x, y) + 4};
    const Vec r{rng.range(10, 24), rng.range(8, 16), rng.range(8, 20)};
    const std::uint32_t seed = static_cast<std::uint32_t>(k + 40);
    addEllipsoid(rock, c, r, 12, 16, 1, 1,
                 [seed](Vec dir) { return 0.75 + 0.5 * fbm3(dir.x * 2 + 9, dir.y * 2, dir.z * 2, 3, seed); });
    // broken faces: each band of faces its own crease group
    for (std::size_t i = 0; i < rock.faces.size(); ++i) rock.faces[i].smoothing = 1u << ((i / 24) % 6);
    sc.objects.push_back(std::move(rock));
  }
  return sc;
}

}  // namespace

std::vector<std::string> meshNames() { return {"man.3ds", "man_gon.3ds", "heart.3ds", "thequad.3ds", "edafos2.3ds"}; }

MeshScene buildMesh(const std::string& name) {
  if (name == "man.3ds") return figure(false);
  if (name == "man_gon.3ds") return figure(true);
  if (name == "heart.3ds") return heart();
  if (name == "thequad.3ds") return waterPlane();
  if (name == "edafos2.3ds") return ground();
  throw std::invalid_argument("no such mesh: " + name);
}

}  // namespace datagen
