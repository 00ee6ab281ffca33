// One frame of each of the five meshes at 800 x 600: the fixed-function
// and the program-pair variant of the mesh routine, each drawing from the
// scene's buffer objects and from client memory. Every frame is waited for
// (glFinish), so the times include the rasterising. Needs a display: run
// under xvfb-run (with llvmpipe: LIBGL_ALWAYS_SOFTWARE=1). Wall-clock times:
// llvmpipe rasterises on threads of its own.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_window.h"
#include "core/diagnostics.h"
#include "demo/demo_app.h"
#include "effects/mesh_drawing.h"
#include "geometry/mesh_sampling.h"
#include "gpu/gl_entry_points.h"
#include "platform/gl_window.h"

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kPair = 2;
constexpr std::array<const char*, 5> kMeshes = {"man", "heart", "man_gon", "thequad", "edafos2"};

struct Bench {
  std::unique_ptr<DemoApp> app;
  std::array<std::array<double, 4>, kMeshes.size()> views{};  // centre x, y, z and reach
};

// The scene's extent at time 0, as drawing places it.
std::array<double, 4> measure(const MeshScene& scene) {
  double low[3] = {1e30, 1e30, 1e30}, high[3] = {-1e30, -1e30, -1e30};
  const MeshDrawState state;
  for (int i = 0; i < scene.objectCount(); ++i) {
    Matrix4d m;
    objectMatrix(scene, state, i, 0.0, m);
    for (int f = 0; f < scene.objects[std::size_t(i)].faceCount(); ++f) {
      FlagVec3 v[3];
      faceVertices(scene, i, f, m, v[0], v[1], v[2]);
      for (const FlagVec3& p : v) {
        const double c[3] = {p.x, p.y, p.z};
        for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], c[k]), high[k] = std::max(high[k], c[k]);
      }
    }
  }
  const double reach = 0.5 * std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2], 1e-3});
  return {0.5 * (low[0] + high[0]), 0.5 * (low[1] + high[1]), 0.5 * (low[2] + high[2]), reach};
}

// A window for the context, an 800 x 600 framebuffer to draw into, the five
// meshes and a program pair. Null when any of it is missing.
Bench* bench() {
  static Bench* made = []() -> Bench* {
    if (!openBenchWindow("mesh draw bench", 64, 64)) return nullptr;
    auto& ext = glExtensionTable;
    GLuint buffers[2] = {0, 0}, framebuffer = 0;
    ext.glGenRenderbuffers(2, buffers);
    ext.glBindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
    ext.glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kWidth, kHeight);
    ext.glBindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
    ext.glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, kWidth, kHeight);
    ext.glGenFramebuffers(1, &framebuffer);
    ext.glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    ext.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
    ext.glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
    if (ext.glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) return nullptr;
    glViewport(0, 0, kWidth, kHeight);

    // The programs read no texture; their lines about it are not news here.
    setDiagnosticWriter([](DiagnosticLevel, const std::string&) {});
    auto* b = new Bench;
    b->app = std::make_unique<DemoApp>();
    std::filesystem::current_path(VELMORA_BINARY_DIR "/data");
    for (std::size_t i = 0; i < kMeshes.size(); ++i) {
      b->app->loadScene(int32_t(i), 1.0, ("meshes/" + std::string(kMeshes[i]) + ".3ds").c_str());
      if (b->app->scenes[i].objectCount() == 0) return nullptr;
      b->views[i] = measure(b->app->scenes[i]);
    }
    CgShaderSet& cg = b->app->cgShaders;
    const std::string programs = std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/";
    cg.createContext();
    cg.createVertexProgram(programs + "mesh_vertex.glsl", kPair);
    cg.createFragmentProgram(programs + "mesh_fragment.glsl", kPair + 1);
    cg.lookUpParameter(kPair, 5, "ModelViewProj");
    cg.lookUpParameter(kPair, 14, "ModelViewObject");
    if (cg.programs[kPair].program == 0 || cg.programs[kPair + 1].program == 0) return nullptr;
    return b;
  }();
  return made;
}

// Arguments: mesh, shader variant (0/1), buffer objects (0/1).
void BM_DrawMesh(benchmark::State& state) {
  Bench* b = bench();
  if (b == nullptr) return state.SkipWithError("no GL context, framebuffer, mesh or program pair");
  DemoApp& app = *b->app;
  const int mesh = int(state.range(0));
  const bool shader = state.range(1) != 0;
  const bool buffers = state.range(2) != 0;
  state.SetLabel(std::string(kMeshes[std::size_t(mesh)]) + (shader ? " program pair" : " fixed function") +
                 (buffers ? ", buffer objects" : ", client arrays"));
  // Without its buffers the routine reads the scene from client memory.
  SceneBuffers kept;
  if (!buffers) std::swap(kept, app.sceneBuffers[std::size_t(mesh)]);

  const auto& v = b->views[std::size_t(mesh)];
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const double r = v[3] * 1.2;
  glOrtho(v[0] - r * 4 / 3, v[0] + r * 4 / 3, v[1] - r, v[1] + r, -(v[2] + 4 * r), -(v[2] - 4 * r));
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  glEnable(GL_LIGHT0);
  CgShaderSet& cg = app.cgShaders;
  long long triangles = 0;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    double time = 0.25;
    if (shader) {
      cg.bindProgram(kPair);
      cg.bindProgram(kPair + 1);
      cg.enableFragmentProfile();
      cg.enableVertexProfile();
      cg.setModelViewProjection(kPair, 5);
      drawMeshSceneCg(app, mesh, kMeshNormals | kMeshTexCoords | kMeshMaterialTextures, time, 0, 0, kPair);
      cg.disableProfiles();
    } else {
      drawMeshScene(app, mesh, kMeshNormals | kMeshTexCoords, time);
    }
    glFinish();
    for (const MeshObject& o : app.scenes[std::size_t(mesh)].objects) triangles += o.faceCount();
  }
  if (!buffers) std::swap(kept, app.sceneBuffers[std::size_t(mesh)]);
  state.counters["triangles/s"] = benchmark::Counter(double(triangles), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DrawMesh)
    ->ArgNames({"mesh", "shader", "buffers"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1}, {1, 0}})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
