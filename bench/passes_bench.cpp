// What the shader rendition's passes cost a frame at 800 x 600: one
// projective pass of each mesh with its own program pair (caustic frame
// projected from the light), the scene pass's clear and 800 x 600 copy into
// the screen texture, and the glow with two blur passes. Each iteration is
// waited for (glFinish). Reads the generated data folder; needs a display:
// run under xvfb-run. Times are wall-clock: llvmpipe draws on threads of its
// own.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "bench_window.h"
#include "demo/demo_app.h"
#include "demo/texture_numbers.h"
#include "geometry/mesh_sampling.h"
#include "gpu/offscreen_target.h"
#include "math/matrix4d.h"
#include "passes/caustic_frames.h"
#include "passes/gl_state_helpers.h"
#include "passes/glow_pass.h"
#include "passes/projection_pass.h"
#include "passes/shadow_pass.h"
#include "platform/gl_window.h"

namespace {

struct Pair {
  const char* mesh;
  const char* vertex;
  const char* fragment;
  int slot;
};
// As the shader rendition sets them up, scene index = position here.
constexpr Pair kPairs[] = {
    {"man", "vertex_projection_anisotropic_animation", "fragment_projection_anisotropic_caustic", 2},
    {"heart", "vertex_projection_anisotropic", "fragment_projection_anisotropic", 6},
    {"man_gon", "vertex_projection_anisotropic_nocol", "fragment_projection_anisotropic", 12},
    {"thequad", "vertex_projection_anisotropic_water", "fragment_projection_anisotropic_water", 18},
    {"edafos2", "vertex_projection_anisotropic_base", "fragment_projection_anisotropic_base", 20},
};
constexpr int kSceneTexture = 0;
constexpr int kGlowTexture = 1;
constexpr int kDepthTexture = 5;
constexpr int kBlurSlot = 0;

struct Bench {
  OffscreenTarget target;
  std::unique_ptr<DemoApp> app = std::make_unique<DemoApp>();
};

// A camera that sees the whole scene at about half the view's size, and a
// light beside it.
void frameScene(DemoApp& app, int sceneIndex) {
  const MeshScene& scene = *app.scene(sceneIndex);
  float low[3] = {1e30f, 1e30f, 1e30f}, high[3] = {-1e30f, -1e30f, -1e30f};
  for (int i = 0; i < scene.objectCount(); ++i) {
    Matrix4d matrix;
    objectMatrix(scene, app.meshDraw, i, 0.0, matrix);
    for (int v = 0; v < scene.object(i)->vertexCount(); ++v) {
      const float* p = scene.object(i)->vertex(v);
      FlagVec3 placed;
      transformPoint(matrix, FlagVec3{1, p[0], p[1], p[2]}, placed);
      const float c[3] = {placed.x, placed.y, placed.z};
      for (int k = 0; k < 3; ++k) low[k] = std::min(low[k], c[k]), high[k] = std::max(high[k], c[k]);
    }
  }
  const float cx = (low[0] + high[0]) / 2, cy = (low[1] + high[1]) / 2, cz = (low[2] + high[2]) / 2;
  const float e = std::max({high[0] - low[0], high[1] - low[1], high[2] - low[2], 1e-3f});
  app.camera.eye = FlagVec3{1, cx + 0.4f * e, cy - 0.6f * e, cz + 0.6f * e};
  app.camera.centre = FlagVec3{1, cx, cy, cz};
  app.camera.up = FlagVec3{1, 0, 0, 1};
  app.lightView = app.camera;
  app.lightView.eye.x -= 0.5f * e;
}

Bench* bench() {
  static Bench* made = []() -> Bench* {
    if (!openBenchWindow("passes bench")) return nullptr;
    std::string error;
    auto* b = new Bench;
    if (!createOffscreenTarget(b->target, 1024, 1024, error)) return nullptr;
    if (chdir(VELMORA_BINARY_DIR "/data") != 0) return nullptr;
    DemoApp& app = *b->app;
    textureTable(app).createBlankTexture(kSceneTexture, b->target.pbuffer.width, b->target.pbuffer.height);
    textureTable(app).createBlankTexture(kGlowTexture, 128, 128);
    for (int i = 0; i < 5; ++i) {
      const Pair& p = kPairs[i];
      setUpProjection(app, std::string("cgeffects/") + p.vertex + ".cpp",
                      std::string("cgeffects/") + p.fragment + ".cpp", std::string("meshes/") + p.mesh + ".3ds", i,
                      kDepthTexture, 16, p.slot);
    }
    loadFragmentOnly(app, "cgeffects/fragment_Blur256.cpp", kBlurSlot);
    loadCausticFrames(app, kCausticFirstPicture);
    if (textureTable(app).loadingFailed()) return nullptr;
    app.screenQuadWidth = 800;
    app.nearPlane = 0.1;
    app.farPlane = 5000.0;
    return b;
  }();
  return made;
}

// Into the offscreen surface at 800 x 600, as the frame draws its scenes.
void BM_ProjectivePass(benchmark::State& state) {
  Bench* b = bench();
  if (b == nullptr) return state.SkipWithError("no GL context, offscreen target or data");
  DemoApp& app = *b->app;
  const int scene = int(state.range(0));
  state.SetLabel(kPairs[scene].mesh);
  frameScene(app, scene);
  makePbufferCurrent(b->target);
  glViewport(0, 0, 800, 600);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  multiplyDemoPerspective(app);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glEnable(GL_DEPTH_TEST);
  double time = 0.0;
  // The driver finishes a program's machine code at its first draw.
  projectiveScenePass(app, scene, causticFrame(0.0), causticFrame(0.0), kPairs[scene].slot, app.camera, app.lightView,
                      time);
  glFinish();
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const int caustic = causticFrame(time);
    projectiveScenePass(app, scene, caustic, caustic, kPairs[scene].slot, app.camera, app.lightView, time);
    glFinish();
    time += 1.0 / 60.0;
  }
  setCameraProjection(app, b->target);
}
BENCHMARK(BM_ProjectivePass)->DenseRange(0, 4)->Unit(benchmark::kMillisecond)->UseRealTime();

// No callbacks: the passes' own work, two clears and the 800 x 600 copy.
void BM_ShadowPassCopy(benchmark::State& state) {
  Bench* b = bench();
  if (b == nullptr) return state.SkipWithError("no GL context, offscreen target or data");
  DemoApp& app = *b->app;
  for (auto _ : state) {
    shadowScenePass(app, b->target, nullptr, nullptr, kDepthTexture, 32, kBlurSlot, app.camera, app.camera, true, 800,
                    kSceneTexture);
    glFinish();
  }
  setCameraProjection(app, b->target);
}
BENCHMARK(BM_ShadowPassCopy)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GlowPass(benchmark::State& state) {
  Bench* b = bench();
  if (b == nullptr) return state.SkipWithError("no GL context, offscreen target or data");
  DemoApp& app = *b->app;
  glowPass(app, b->target, kSceneTexture, kGlowTexture, 128, 0.69, int(state.range(0)), kBlurSlot);
  glFinish();
  for (auto _ : state) {
    glowPass(app, b->target, kSceneTexture, kGlowTexture, 128, 0.69, int(state.range(0)), kBlurSlot);
    glFinish();
  }
  setCameraProjection(app, b->target);
}
BENCHMARK(BM_GlowPass)->ArgName("passes")->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
