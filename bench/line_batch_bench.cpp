// Long additive lines the two ways: one glBegin/glVertex stream against
// the line batch's client vertex array, 100 000 segments of about 150
// pixels in an 800 x 600 window, waited for with glFinish. Needs a
// display: run under xvfb-run. The CPU column is the whole process's time,
// the software rasteriser's threads included: on a shared machine it is
// steadier than the wall time. Run with --benchmark_repetitions=5
// --benchmark_enable_random_interleaving=true to spread others' load
// evenly over both ways.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cmath>
#include <string>
#include <vector>

#include "bench_window.h"
#include "effects/line_batch.h"
#include "math/random.h"
#include "platform/gl_window.h"

namespace {
constexpr int kWidth = 800, kHeight = 600;

bool ensureContext() {
  static bool ready = [] {
    if (!openBenchWindow("line batch bench")) return false;
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, 0, kHeight, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    return true;
  }();
  return ready;
}

struct Segment {
  FlagVec3 a, b;
  LineColour colour;
};

// Random 150-pixel segments inside the window, faint gold.
const std::vector<Segment>& segments(size_t count) {
  static std::vector<Segment> made;
  if (made.size() != count) {
    made.clear();
    seedRandom(16);
    for (size_t k = 0; k < count; ++k) {
      const double a = random01() * 6.283185307179586;
      const float x = float(100 + random01() * (kWidth - 200)), y = float(100 + random01() * (kHeight - 200));
      const float dx = float(std::cos(a) * 75), dy = float(std::sin(a) * 75);
      made.push_back({{1, x - dx, y - dy, 0}, {1, x + dx, y + dy, 0}, {0.04f, 0.03f, 0.02f, 1.0f}});
    }
  }
  return made;
}

// The way the lines were drawn before the batch.
void drawImmediate(const std::vector<Segment>& lines) {
  glBegin(GL_LINES);
  for (const Segment& s : lines) {
    glColor4f(s.colour.r, s.colour.g, s.colour.b, s.colour.a);
    glVertex3f(s.a.x, s.a.y, s.a.z);
    glVertex3f(s.b.x, s.b.y, s.b.z);
  }
  glEnd();
}

void BM_ImmediateLines(benchmark::State& state) {
  if (!ensureContext()) return state.SkipWithError("no GL context");
  const auto& lines = segments(size_t(state.range(0)));
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT);
    drawImmediate(lines);
    glFinish();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ImmediateLines)
    ->MeasureProcessCPUTime()
    ->ArgName("segments")
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Second argument: the batch's capacity in segments, which sets how many
// vertices each draw hands the driver at once.
void BM_BatchedLines(benchmark::State& state) {
  if (!ensureContext()) return state.SkipWithError("no GL context");
  const auto& lines = segments(size_t(state.range(0)));
  LineBatch batch(size_t(state.range(1)));
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT);
    for (const Segment& s : lines) batch.segment(s.a, s.b, s.colour);
    batch.flush();
    glFinish();
  }
  state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_BatchedLines)
    ->MeasureProcessCPUTime()
    ->ArgNames({"segments", "capacity"})
    ->ArgsProduct({{10000, 100000}, {4096, 65536}})
    ->Unit(benchmark::kMillisecond);

// The same lines cut short to 2 pixels: what the vertex path alone costs.
void BM_ShortLines(benchmark::State& state) {
  if (!ensureContext()) return state.SkipWithError("no GL context");
  static std::vector<Segment> shortLines;
  if (shortLines.empty()) {
    for (Segment s : segments(100000)) {
      s.b = {1, s.a.x + 2, s.a.y, 0};
      shortLines.push_back(s);
    }
  }
  static LineBatch batch;
  const bool immediate = state.range(0) == 0;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT);
    if (immediate) {
      drawImmediate(shortLines);
    } else {
      for (const Segment& s : shortLines) batch.segment(s.a, s.b, s.colour);
      batch.flush();
    }
    glFinish();
  }
}
BENCHMARK(BM_ShortLines)->MeasureProcessCPUTime()->ArgName("batched")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
