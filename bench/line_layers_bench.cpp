// The choreography's line layers alone (5, 6, 10, 11, 15, 18, 20, each
// only inside its window) at a moment, drawn from each part's generated
// set-up under the camera the parts fly then, in an 800 x 600 window with
// additive blending, waited for with glFinish. Needs a display and the
// generated data: run under xvfb-run from anywhere. The segments counter
// is the number of line segments one frame draws, L5 .. L20 each layer's
// share. Each moment is drawn twice: batched as the demo does, and with
// the batch flushing through glBegin/glVertex as the layers were drawn
// before it ("immediate"). Run with --benchmark_repetitions=5
// --benchmark_enable_random_interleaving=true and compare the medians.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "bench_window.h"
#include "choreography/layer_windows.h"
#include "choreography/line_layers.h"
#include "choreography/mesh_layers.h"
#include "choreography/rendition.h"
#include "choreography/scene_layers.h"
#include "demo/demo_app.h"
#include "effects/line_batch.h"
#include "math/random.h"
#include "parts/camera_programme.h"
#include "parts/part_alpha.h"
#include "parts/part_beta.h"
#include "platform/gl_window.h"

namespace {
constexpr int kWidth = 800, kHeight = 600;
constexpr int kLineLayers[] = {5, 6, 10, 11, 15, 18, 20};

bool ensureContext() { return openBenchWindow("line layers bench"); }

struct Part {
  std::unique_ptr<DemoApp> app = std::make_unique<DemoApp>();
  std::unique_ptr<DemoPart> part;
};

template <typename Kind>
Part& setUpPart() {
  static Part p = [] {
    Part made;
    made.part = std::make_unique<Kind>();
    char here[4096];
    if (getcwd(here, sizeof here) == nullptr || chdir(VELMORA_BINARY_DIR "/data") != 0) return made;
    seedRandom(5);
    made.part->setUp(made.app.get());
    if (chdir(here) != 0) return made;
    return made;
  }();
  return p;
}

bool isLineLayer(int number) {
  return std::find(std::begin(kLineLayers), std::end(kLineLayers), number) != std::end(kLineLayers);
}

// Segments each layer drew in the last frame, by layer number.
std::map<int, std::uint64_t> lastSegments;

void drawLineLayers(Part& p, const Rendition& rendition, double T) {
  glViewport(0, 0, kWidth, kHeight);
  glClearColor(0, 0, 0, 0);
  glClear(GL_COLOR_BUFFER_BIT);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const ClipPlanes planes = clipPlanesAt(T);
  gluPerspective(60.0, double(kWidth) / kHeight, planes.nearPlane, planes.farPlane);
  runCameraProgramme(T, p.app->camera);
  p.part->partTime = T;
  SceneFrame frame = p.part->sceneFrame(*p.app, rendition);
  placeCamera(frame);
  for (const LayerDrawing& layer : layerDrawings()) {
    if (!isLineLayer(layer.number) || !findLayer(layer.number)->window(rendition.kind()).contains(T)) continue;
    const std::uint64_t before = sceneLineBatch().drawnSegments();
    layer.draw(frame);
    lastSegments[layer.number] = sceneLineBatch().drawnSegments() - before;
  }
  glDepthMask(GL_TRUE);
  glDisable(GL_BLEND);
}

// First argument: part time in milliseconds; second: 0 shader rendition
// (PartAlpha, drifting), 1 fixed function (PartBeta); third: 1 flushes the
// line batch through immediate mode.
void BM_LineLayers(benchmark::State& state) {
  if (!ensureContext()) return state.SkipWithError("no GL context");
  const double T = double(state.range(0)) / 1000.0;
  const bool fixed = state.range(1) == 1;
  Part& p = fixed ? setUpPart<PartBeta>() : setUpPart<PartAlpha>();
  if (p.part->curvePaths.empty()) return state.SkipWithError("the generated data did not load");
  const Rendition& rendition = fixed ? fixedFunctionRendition() : shaderRendition();
  sceneLineBatch().setImmediate(state.range(2) == 1);
  for (auto _ : state) {
    lastSegments.clear();
    drawLineLayers(p, rendition, T);
    glFinish();
  }
  sceneLineBatch().setImmediate(false);
  std::uint64_t all = 0;
  for (auto [number, n] : lastSegments) {
    state.counters["L" + std::to_string(number)] = double(n);
    all += n;
  }
  state.counters["segments"] = double(all);
}
BENCHMARK(BM_LineLayers)
    ->MeasureProcessCPUTime()
    ->ArgNames({"T_ms", "fixed", "immediate"})
    ->ArgsProduct({{12500, 29000}, {0, 1}, {1, 0}})
    ->Unit(benchmark::kMillisecond);
}  // namespace
