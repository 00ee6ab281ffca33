// How long a typical program pair takes to compile from its files, and to
// be ready to draw (some drivers finish the machine code at the first draw
// that uses a program). Needs a display: run under xvfb-run.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdlib>
#include <string>

#include "bench_window.h"
#include "core/diagnostics.h"
#include "gpu/cg_shader_set.h"
#include "gpu/gl_entry_points.h"
#include "platform/gl_window.h"

namespace {

const std::string kVertexFile = std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/projection_vertex.glsl";
const std::string kFragmentFile = std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/projection_fragment.glsl";

bool ensureContext() {
  // Measure the compiler, not the driver's cache of earlier runs.
  setenv("MESA_SHADER_CACHE_DISABLE", "true", 1);
  return openBenchWindow("shader compile bench", 64, 64);
}

CgShaderSet& shaderSet() {
  static CgShaderSet* set = [] {
    setDiagnosticWriter([](DiagnosticLevel, const std::string&) {});  // every round compiles the same files again
    return new CgShaderSet;
  }();
  return *set;
}

void createPair(CgShaderSet& cg) {
  cg.createContext();
  cg.createVertexProgram(kVertexFile, 0);
  cg.createFragmentProgram(kFragmentFile, 1);
}

// The set never deletes programs; the benchmark does, between rounds.
void deletePair(CgShaderSet& cg) {
  for (int slot : {0, 1}) glExtensionTable.glDeleteProgram(cg.programs[size_t(slot)].program);
}

bool pairMade(benchmark::State& state, CgShaderSet& cg) {
  if (cg.programs[0].program != 0 && cg.programs[1].program != 0) return true;
  state.SkipWithError("the pair did not compile");
  return false;
}

// One triangle through the pair at slots 0 and 1, waited for.
void drawWithPair(CgShaderSet& cg) {
  cg.bindProgram(0);
  cg.bindProgram(1);
  cg.enableVertexProfile();
  cg.enableFragmentProfile();
  glBegin(GL_TRIANGLES);
  glVertex2f(-1, -1);
  glVertex2f(1, -1);
  glVertex2f(0, 1);
  glEnd();
  cg.disableProfiles();
  glFinish();
}

// drawOnce:0 the compile alone; drawOnce:1 up to a finished first draw.
void BM_CompilePair(benchmark::State& state) {
  if (!ensureContext()) return state.SkipWithError("no GL context");
  CgShaderSet& cg = shaderSet();
  const bool drawOnce = state.range(0) != 0;
  for (auto _ : state) {
    createPair(cg);
    if (drawOnce) {
      drawWithPair(cg);
    } else {
      glFinish();
    }
    state.PauseTiming();
    const bool made = pairMade(state, cg);
    deletePair(cg);
    state.ResumeTiming();
    if (!made) break;
  }
}
BENCHMARK(BM_CompilePair)->ArgName("drawOnce")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The same draw with a pair that has drawn before: what the first draw
// above costs beyond compiling.
void BM_DrawWithReadyPair(benchmark::State& state) {
  if (!ensureContext()) return state.SkipWithError("no GL context");
  CgShaderSet& cg = shaderSet();
  createPair(cg);
  if (!pairMade(state, cg)) return;
  for (auto _ : state) {
    drawWithPair(cg);
  }
  deletePair(cg);
}
BENCHMARK(BM_DrawWithReadyPair)->Unit(benchmark::kMillisecond);

}  // namespace
