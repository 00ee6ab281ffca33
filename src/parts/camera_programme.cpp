#include "parts/camera_programme.h"

#include <algorithm>
#include <cmath>

#include "math/ease.h"

namespace {

FlagVec3 point(double x, double y, double z) { return FlagVec3{1, float(x), float(y), float(z)}; }

CameraView view(FlagVec3 eye, FlagVec3 centre, FlagVec3 up) { return CameraView{eye, centre, up}; }

// Each vector moves the fraction `weight` of the way towards the target.
void blendTowards(CameraView& camera, const CameraView& target, double weight) {
  const auto w = float(weight);
  camera.eye = camera.eye + (target.eye - camera.eye) * w;
  camera.centre = camera.centre + (target.centre - camera.centre) * w;
  camera.up = camera.up + (target.up - camera.up) * w;
}

const FlagVec3 kUpZ = point(0, 0, 1);
}  // namespace

void runCameraProgramme(double t, CameraView& camera) {
  // The opening: a close look down at the growing figure, then two orbits
  // fading in over it.
  const double h0 = (7.0 - 1.4 * t) * 0.03 + 2.4;
  camera = view(point(-0.165, h0, 1.84), point(-0.165, h0, 0.0), point(1, 0, 0));
  const double a = -0.2 * t - 0.3;
  blendTowards(camera, view(point(8 * std::sin(a), 8 * std::cos(a), 11.0), point(0, 0, 0.5 * t - 5.6), kUpZ),
               ease(clamp01((t - 6.3) * 0.29), 1.3));
  const double b = -1.4 - 0.8 * t;
  blendTowards(camera, view(point(5 * std::sin(b), 5 * std::cos(b), 8.0), point(0, 0.8, 0), kUpZ),
               ease(clamp01((t - 9.0) * 0.3), 1.0));

  // Cut at 12.3: a wide orbit that closes in.
  if (t > 12.3) {
    const double r = 29.0 / (1.0 + std::max(0.0, 2.2 * (t - 12.3))) + 3.0;
    const double c = 0.3 * (t + 1.0) - 0.8;
    camera = view(point(r * std::sin(c), r * std::cos(c), 9.0), point(0, 0, 0), kUpZ);
  }

  // Cut at 16.2: rising out of the scene, then two high flights.
  CameraView savedCamera = camera;
  if (t > 16.2) {
    const double q = 4.0 / (1.0 + std::max(0.0, 0.4 * (t - 16.2))) + 7.6;
    camera = view(point(2 * std::sin(q), 2 * std::cos(q), 5.0 + 6.0 * (t - 16.0)), point(0, 2 * (t - 16.2), 0), kUpZ);
    const double e = 1.0 - 0.3 * (t - 21.0);
    blendTowards(camera, view(point(25 * std::sin(e), 25 * std::cos(e), 111.4), point(0, -13.0, 82.0), kUpZ),
                 ease(clamp01((t - 18.0) * 0.36), 1.0));
    const double m = std::clamp((t - 24.0) * 0.55, 0.0, 2.0);
    const double hx = 110.0 * ease(clamp01((t - 21.2) * 0.25) - m, 1.0);
    blendTowards(camera,
                 view(point(95 * std::sin(0.3 * (t - 21.0) + 4.8), 95 * std::cos(0.1 * (t - 21.0) + 4.8), 30.0),
                      point(hx, -60.0, 113.0), kUpZ),
                 ease(clamp01((t - 19.1) * 0.2), 1.0));
    savedCamera = camera;
  }

  // From 20 s: the descent to the ground and the final look straight down,
  // the whole chain fading in from the flight above.
  if (t > 20.0) {
    const double g = -2.0 - 0.3 * t;
    const double u = std::max(0.0, 4.8 * (t - 23.0));
    camera = view(point(66 * std::sin(g), 66 * std::cos(g), 175.0 - 10.0 * (t - 20.0)), point(6.0 - u, 0, 52.0), kUpZ);
    blendTowards(camera, view(point(-5.0, 0.0, 29.6), point(0, 0, -90.0), point(0, 0.1, 1.0)),
                 ease(clamp01((t - 25.5) * 0.2), 1.0));
    blendTowards(camera, view(point(1.0, 0.0, 29.6), point(0, 0, -90.0), point(0, 1, 0)),
                 ease(clamp01((t - 29.5) * 0.3), 1.0));
    const double v = std::max(0.0, t - 32.4);
    blendTowards(camera, view(point(-8.0, 4.2, 20.0 - 2.7 * v * v), point(-8.0, 4.2, -90.0), point(1, 0, 0)),
                 ease(clamp01((t - 31.0) * 0.3), 1.0));
    const CameraView chain = camera;
    camera = savedCamera;
    blendTowards(camera, chain, ease(clamp01((t - 20.2) * 0.25), 1.0));
  }
}

ClipPlanes clipPlanesAt(double partTime) {
  if (partTime <= 16.2) return {0.01, 180.0};
  return {0.1, 500.0};
}
