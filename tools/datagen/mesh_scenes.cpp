// The five scenes: a standing and a kneeling figure, a heart, the water
// plane and the ground.
#include <cmath>
#include <stdexcept>

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

// Joint positions of a figure, y up, facing +z, in centimetre-like units.
struct Pose {
  Vec pelvis, chest, neck, head;
  Vec shoulder[2], elbow[2], wrist[2], hand[2];
  Vec hip[2], knee[2], ankle[2], toe[2];
};

Pose standing() {
  Pose p;
  p.pelvis = {0, 88, 0};
  p.chest = {0, 128, 1};
  p.neck = {0, 150, 0};
  p.head = {0, 166, 1};
  for (int s = 0; s < 2; ++s) {
    const double k = s ? -1 : 1;  // 0 = left (+x), 1 = right
    p.shoulder[s] = {19 * k, 143, 0};
    p.elbow[s] = {33 * k, 114, -2};
    p.wrist[s] = {45 * k, 88, 2};
    p.hand[s] = {50 * k, 74, 4};
    p.hip[s] = {9 * k, 90, 0};
    p.knee[s] = {11 * k, 48, 2};
    p.ankle[s] = {12 * k, 8, -1};
    p.toe[s] = {13 * k, 2, 13};
  }
  return p;
}

Pose kneeling() {
  Pose p;
  p.pelvis = {0, 58, -4};
  p.chest = {0, 96, 2};
  p.neck = {0, 116, 5};
  p.head = {0, 130, 10};
  p.shoulder[0] = {19, 110, 2};
  p.elbow[0] = {28, 86, 20};
  p.wrist[0] = {18, 66, 34};
  p.hand[0] = {12, 61, 42};
  p.shoulder[1] = {-19, 110, 2};
  p.elbow[1] = {-25, 84, 6};
  p.wrist[1] = {-25, 58, 12};
  p.hand[1] = {-25, 44, 14};
  // left foot planted in front, right knee on the ground
  p.hip[0] = {9, 60, -2};
  p.knee[0] = {12, 62, 40};
  p.ankle[0] = {13, 8, 36};
  p.toe[0] = {14, 2, 50};
  p.hip[1] = {-9, 60, -2};
  p.knee[1] = {-11, 6, 8};
  p.ankle[1] = {-12, 10, -34};
  p.toe[1] = {-12, 2, -46};
  return p;
}

// A limb: a smooth tube through joints with a radius per joint.
MeshObject limb(std::string name, std::vector<Vec> joints, std::vector<double> radii, int rings, int mat,
                double flatten = 1.0) {
  MeshObject o;
  o.name = std::move(name);
  Tube tb;
  // extend past both end joints so the rounded ends cover them
  const Vec a = joints.front() + (joints.front() - joints[1]) *
                                     (radii.front() / std::sqrt(dot(joints[1] - joints[0], joints[1] - joints[0])));
  const Vec b = joints.back() + (joints.back() - joints[joints.size() - 2]) *
                                    (radii.back() / std::sqrt(dot(joints.back() - joints[joints.size() - 2],
                                                                  joints.back() - joints[joints.size() - 2])));
  joints.insert(joints.begin(), a);
  joints.push_back(b);
  radii.insert(radii.begin(), radii.front());
  radii.push_back(radii.back());
  tb.spine = [joints](double t) { return spline(joints, t); };
  tb.radius = [radii, flatten](double t, double phi) {
    const double s = t * (radii.size() - 1);
    const std::size_t i = std::min<std::size_t>(static_cast<std::size_t>(s), radii.size() - 2);
    const double f = s - i;
    const double r = radii[i] + (radii[i + 1] - radii[i]) * (f * f * (3 - 2 * f));
    const double e = 1.0 / std::sqrt(std::pow(std::cos(phi), 2) + std::pow(std::sin(phi) / flatten, 2));
    return r * e * rounded(t, 0.08);
  };
  const Vec dir = joints.back() - joints.front();
  tb.reference = std::abs(dir.x) > std::abs(dir.y) ? Vec{0, 1, 0} : Vec{1, 0, 0};
  tb.rings = rings;
  tb.segments = 20;
  tb.material = mat;
  addTube(o, tb);
  return o;
}

MeshScene figure(const Pose& p, bool kneel) {
  MeshScene sc;
  if (kneel) {
    sc.materials.push_back(material("marble", {230, 215, 195}, "GONI.JPG", "SKINBUMP.JPG"));
    sc.materials.push_back(material("marble_vein", {170, 160, 150}, "GONI.JPG"));
  } else {
    sc.materials.push_back(material("skin", {235, 190, 165}, "SKIN.JPG", "SKINBUMP.JPG"));
    sc.materials.push_back(material("skin_dark", {200, 150, 130}, "SKIN.JPG"));
  }
  const char* side[2] = {"_l", "_r"};
  // torso: pelvis to chest to neck, wide across x, shallow in z
  {
    MeshObject o;
    o.name = "torso";
    Tube tb;
    const std::vector<Vec> spine{p.pelvis - Vec{0, 8, 0}, p.pelvis, lerp(p.pelvis, p.chest, 0.5), p.chest,
                                 p.neck - Vec{0, 4, 0}};
    tb.spine = [spine](double t) { return spline(spine, t); };
    tb.radius = [](double t, double phi) {
      // width: hips, waist, chest, shoulders; depth follows more gently
      const double w = t < 0.3 ? 15.5 - 2.0 * std::sin(t / 0.3 * kPi / 2) * 0.8
                               : 14.0 + 5.5 * std::sin(std::min(1.0, (t - 0.3) / 0.55) * kPi / 2);
      const double d = 9.5 + 1.5 * std::sin(t * kPi);
      const double e = 1.0 / std::sqrt(std::pow(std::cos(phi) / w, 2) + std::pow(std::sin(phi) / d, 2));
      return e * rounded(t, 0.12);
    };
    tb.rings = 44;
    tb.segments = 24;
    addTube(o, tb);
    sc.objects.push_back(std::move(o));
  }
  sc.objects.push_back(
      limb("neck", {p.chest + (p.neck - p.chest) * 0.6, p.neck + (p.head - p.neck) * 0.3}, {6.0, 5.2}, 10, 0));
  {
    MeshObject o;
    o.name = "head";
    const Vec up = unit(p.head - p.neck);
    Tube tb;
    tb.spine = [=](double t) { return p.head + up * (-12.5 + 25.5 * t); };
    tb.radius = [](double t, double phi) {
      const double k = std::sqrt(std::max(0.0, 1 - std::pow(2 * t - 1, 2)));
      // a little narrower at the jaw, longer front to back
      const double w = 9.5 - 1.5 * (1 - t) * (1 - t), d = 10.8;
      return k / std::sqrt(std::pow(std::cos(phi) / w, 2) + std::pow(std::sin(phi) / d, 2));
    };
    tb.rings = 26;
    tb.segments = 24;
    addTube(o, tb);
    sc.objects.push_back(std::move(o));
  }
  for (int s = 0; s < 2; ++s) {
    sc.objects.push_back(
        limb(std::string("arm") + side[s], {p.shoulder[s], p.elbow[s], p.wrist[s]}, {5.8, 4.2, 3.2}, 36, 0));
    sc.objects.push_back(limb(std::string("hand") + side[s], {p.wrist[s], p.hand[s]}, {3.3, 3.0}, 12, 1, 0.5));
    sc.objects.push_back(limb(std::string("leg") + side[s], {p.hip[s], p.knee[s], p.ankle[s]}, {8.8, 5.4, 3.8}, 40, 0));
    MeshObject foot =
        limb(std::string("foot") + side[s], {p.ankle[s] - Vec{0, 3, 3}, p.toe[s]}, {3.6, 3.0}, 14, 1, 0.6);
    // soles are a crease of their own
    for (MeshFace& f : foot.faces) {
      const float y = (foot.vertices[f.a].y + foot.vertices[f.b].y + foot.vertices[f.c].y) / 3;
      if (y < foot.origin.y - 1.0f) f.smoothing = 2;
    }
    sc.objects.push_back(std::move(foot));
  }
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
  if (name == "man.3ds") return figure(standing(), false);
  if (name == "man_gon.3ds") return figure(kneeling(), true);
  if (name == "heart.3ds") return heart();
  if (name == "thequad.3ds") return waterPlane();
  if (name == "edafos2.3ds") return ground();
  throw std::invalid_argument("no such mesh: " + name);
}

}  // namespace datagen
