// velmora-mesh-previews DATA_DIR OUT_DIR [SIZE]: renders each generated mesh
// of DATA_DIR/meshes from a three-quarter view into OUT_DIR/<name>.png
// (SIZE x SIZE, default 600), lit by one white light, each object in its
// material's diffuse colour. The pictures are for docs/datagen-meshes.png
// (tools/docs/remake-pictures.sh lays them out); the loader, the scene
// table and the mesh routine are the demo's own, so the pictures show what
// the demo makes of the files. Needs a display (xvfb-run).
#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "capture/png_encoding.h"
#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "effects/mesh_drawing.h"
#include "geometry/mesh_sampling.h"
#include "gpu/offscreen_target.h"
#include "math/matrix4d.h"
#include "platform/gl_window.h"

namespace {

// File, name in the picture, and the view: turn about the up axis and
// height above the horizon, both in degrees. The flat meshes are looked at
// from higher up, or they would show as a line.
struct Preview {
  const char* file;
  const char* name;
  double azimuth;
  double elevation;
  bool zUp;
};
constexpr std::array<Preview, 5> kPreviews = {{
    {"man.3ds", "man", 30, 12, false},
    {"man_gon.3ds", "gon", 60, 14, false},
    {"heart.3ds", "heart", 30, 12, false},
    {"edafos2.3ds", "ground", 30, 35, true},
    {"thequad.3ds", "quad", 30, 40, true},
}};

constexpr int kLargestPreview = 1024;  // the offscreen surface made for the previews
constexpr double kFieldOfView = 30.0;  // degrees, the widest the framing uses
constexpr double kMargin = 1.08;       // room around the mesh's box
constexpr double kPi = 3.14159265358979323846;

struct Bounds {
  std::array<double, 3> low{1e30, 1e30, 1e30};
  std::array<double, 3> high{-1e30, -1e30, -1e30};
  bool empty() const { return low[0] > high[0]; }
};

// The scene's extent at time 0: every vertex placed as drawing places it.
Bounds measure(const MeshScene& scene) {
  Bounds b;
  const MeshDrawState unplaced;
  for (int i = 0; i < scene.objectCount(); ++i) {
    const MeshObject& object = scene.objects[std::size_t(i)];
    Matrix4d placement;
    objectMatrix(scene, unplaced, i, 0.0, placement);
    for (int v = 0; v < object.vertexCount(); ++v) {
      const float* at = object.vertex(v);
      FlagVec3 p;
      transformPoint(placement, FlagVec3{1, at[0], at[1], at[2]}, p);
      const std::array<double, 3> c{p.x, p.y, p.z};
      for (std::size_t k = 0; k < 3; ++k) {
        b.low[k] = std::min(b.low[k], c[k]);
        b.high[k] = std::max(b.high[k], c[k]);
      }
    }
  }
  return b;
}

using Vec3 = std::array<double, 3>;

Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double dot(const Vec3& a, const Vec3& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec3 unit(Vec3 a) {
  const double length = std::sqrt(dot(a, a));
  for (double& x : a) x /= length;
  return a;
}

// The camera's side, up and forward axes, as gluLookAt makes them.
struct ViewAxes {
  Vec3 side, up, forward;
};

ViewAxes viewAxes(const Vec3& eye, const Vec3& centre, const Vec3& worldUp) {
  ViewAxes a;
  a.forward = unit({centre[0] - eye[0], centre[1] - eye[1], centre[2] - eye[2]});
  a.side = unit(cross(a.forward, worldUp));
  a.up = cross(a.side, a.forward);
  return a;
}

// gluLookAt on the current matrix.
void lookAt(const Vec3& eye, const ViewAxes& a) {
  const double m[16] = {a.side[0],
                        a.up[0],
                        -a.forward[0],
                        0,
                        a.side[1],
                        a.up[1],
                        -a.forward[1],
                        0,
                        a.side[2],
                        a.up[2],
                        -a.forward[2],
                        0,
                        0,
                        0,
                        0,
                        1};
  glMultMatrixd(m);
  glTranslated(-eye[0], -eye[1], -eye[2]);
}

// The object's colour: the diffuse colour of its first material, light grey
// when it has none.
std::array<float, 3> objectColour(const MeshScene& scene, int object) {
  const MeshObject& o = scene.objects[std::size_t(object)];
  const Material* material = o.materialCount() > 0 ? scene.material(o.materialIndex(0)) : nullptr;
  if (material == nullptr) return {0.8f, 0.8f, 0.8f};
  return {material->diffuse.r, material->diffuse.g, material->diffuse.b};
}

void drawPreview(DemoApp& app, int slot, const Preview& view, const Bounds& b, int size) {
  glViewport(0, 0, size, size);
  glClearColor(0.07f, 0.07f, 0.07f, 1.0f);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

  const Vec3 centre{0.5 * (b.low[0] + b.high[0]), 0.5 * (b.low[1] + b.high[1]), 0.5 * (b.low[2] + b.high[2])};
  double radius = 0.0;
  for (std::size_t k = 0; k < 3; ++k) radius += (b.high[k] - b.low[k]) * (b.high[k] - b.low[k]);
  radius = std::max(0.5 * std::sqrt(radius), 1e-3);
  // Far enough that the bounding sphere fits the widest field used.
  const double distance = radius / std::sin(0.5 * kFieldOfView * kPi / 180.0);
  const double az = view.azimuth * kPi / 180.0, el = view.elevation * kPi / 180.0;
  // Around the mesh's up axis: y for the figures, z for the flat meshes.
  const double along = std::cos(az) * std::cos(el), across = std::sin(az) * std::cos(el), height = std::sin(el);
  const Vec3 offset = view.zUp ? Vec3{across, -along, height} : Vec3{across, height, along};
  const Vec3 worldUp = view.zUp ? Vec3{0, 0, 1} : Vec3{0, 1, 0};
  const Vec3 eye{centre[0] + distance * offset[0], centre[1] + distance * offset[1], centre[2] + distance * offset[2]};
  const ViewAxes axes = viewAxes(eye, centre, worldUp);

  // The field closes in on the box's corners as the camera sees them, so
  // a tall figure fills the picture's height.
  double reach = 1e-6;
  for (int corner = 0; corner < 8; ++corner) {
    const Vec3 p{corner & 1 ? b.high[0] : b.low[0], corner & 2 ? b.high[1] : b.low[1],
                 corner & 4 ? b.high[2] : b.low[2]};
    const Vec3 d{p[0] - eye[0], p[1] - eye[1], p[2] - eye[2]};
    const double depth = dot(d, axes.forward);
    reach = std::max({reach, std::abs(dot(d, axes.side)) / depth, std::abs(dot(d, axes.up)) / depth});
  }
  reach *= kMargin;

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double nearPlane = std::max(distance - 1.5 * radius, 1e-3 * distance);
  glFrustum(-reach * nearPlane, reach * nearPlane, -reach * nearPlane, reach * nearPlane, nearPlane,
            distance + 1.5 * radius);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();

  // The light in eye space: above, left of and behind the viewer.
  const GLfloat lightDirection[4] = {-0.4f, 0.6f, 0.7f, 0.0f};
  const GLfloat white[4] = {0.85f, 0.85f, 0.85f, 1.0f};
  const GLfloat ambient[4] = {0.3f, 0.3f, 0.3f, 1.0f};
  const GLfloat specular[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  glLightfv(GL_LIGHT0, GL_POSITION, lightDirection);
  glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
  glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_TRUE);
  glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 24.0f);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glEnable(GL_LIGHT0);
  glEnable(GL_NORMALIZE);
  glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDisable(GL_CULL_FACE);
  glShadeModel(GL_SMOOTH);

  lookAt(eye, axes);
  const MeshScene& scene = app.scenes[std::size_t(slot)];
  for (int i = 0; i < scene.objectCount(); ++i) {
    const auto colour = objectColour(scene, i);
    glColor3f(colour[0], colour[1], colour[2]);
    app.meshDraw.onlyObject = i;
    double time = 0.0;
    drawMeshScene(app, slot, kMeshNormals, time);
  }
  app.meshDraw.onlyObject = -1;
  glFinish();
}

bool writePicture(const std::filesystem::path& file, int size) {
  std::vector<uint8_t> pixels(std::size_t(size) * std::size_t(size) * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
  // GL's rows run bottom first; the picture's top first.
  std::vector<uint8_t> flipped(pixels.size());
  const std::size_t row = std::size_t(size) * 3;
  for (int y = 0; y < size; ++y)
    std::copy_n(pixels.begin() + std::ptrdiff_t(row * std::size_t(y)), row,
                flipped.begin() + std::ptrdiff_t(row * std::size_t(size - 1 - y)));
  const std::vector<uint8_t> png = encodePng(flipped.data(), size, size);
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
  return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
  setDiagnosticProgram("velmora-mesh-previews");
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: velmora-mesh-previews DATA_DIR OUT_DIR [SIZE]\n");
    return 2;
  }
  const std::filesystem::path data = std::filesystem::absolute(argv[1]);
  const std::filesystem::path out = std::filesystem::absolute(argv[2]);
  const int size = argc == 4 ? std::atoi(argv[3]) : 600;
  if (size < 16 || size > kLargestPreview) {
    reportError("SIZE " + std::string(argv[3]), "must be 16 to " + std::to_string(kLargestPreview));
    return 2;
  }
  std::error_code error;
  std::filesystem::create_directories(out, error);
  if (error) {
    reportError(out.string(), "cannot be made: " + error.message());
    return 1;
  }

  std::string message;
  PlatformGl gl;
  GlWindowRequest request;
  request.title = "velmora mesh previews";
  request.width = 64;
  request.height = 64;
  WindowFailure failure = WindowFailure::None;
  if (!platformInitVideo(message) || !platformCreateWindow(gl, request, failure) || !platformCreateContext(gl) ||
      !platformMakeCurrent(gl)) {
    reportError("GL window", message + platformError() + " (run under xvfb-run)");
    return 1;
  }
  // The demo's own offscreen surface: a hidden window's back buffer is
  // not promised to keep what is drawn into it.
  OffscreenTarget target;
  if (!createOffscreenTarget(target, kLargestPreview, kLargestPreview, message) || !makePbufferCurrent(target)) {
    reportError("offscreen surface", message);
    return 1;
  }

  // The loader names files relative to the data folder, as the demo does.
  std::filesystem::current_path(data, error);
  if (error) {
    reportError(data.string(), "no data folder: " + error.message());
    return 1;
  }
  auto app = std::make_unique<DemoApp>();
  int status = 0;
  for (std::size_t i = 0; i < kPreviews.size(); ++i) {
    const Preview& view = kPreviews[i];
    const std::string file = std::string("meshes/") + view.file;
    app->loadScene(int32_t(i), 1.0, file.c_str());
    const Bounds bounds = measure(app->scenes[i]);
    if (app->scenes[i].objectCount() == 0 || bounds.empty()) {
      reportError((data / file).string(), "has nothing to draw");
      status = 1;
      continue;
    }
    drawPreview(*app, int(i), view, bounds, size);
    const std::filesystem::path picture = out / (std::string(view.name) + ".png");
    if (!writePicture(picture, size)) {
      reportError(picture.string(), "cannot be written");
      status = 1;
      continue;
    }
    std::printf("%s\n", picture.c_str());
  }
  destroyOffscreenTarget(target);
  platformDeleteContext(gl);
  platformDestroyWindow(gl);
  return status;
}
