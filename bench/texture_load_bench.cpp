// What a texture costs at start-up: the generated pictures through each
// loader, file to texture, and the loading screen's picture as the start-up
// sequence loads it on every one of its 22 frames. Needs a display and the
// generated data: run under xvfb-run after building velmora_data.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <string>

#include "bench_window.h"
#include "gpu/texture_table.h"
#include "platform/gl_window.h"

namespace {

const std::string kData = std::string(VELMORA_BINARY_DIR) + "/data/";

bool ensureContext() { return openBenchWindow("texture load bench", 64, 64); }

template <typename Load>
void measure(benchmark::State& state, const std::string& file, Load load) {
  if (!ensureContext()) {
    state.SkipWithError("no GL context (run under xvfb-run)");
    return;
  }
  TextureTable table;
  for (auto _ : state) {
    load(table, file);
    glFinish();
    state.PauseTiming();
    const GLuint name = table.textures[1];
    glDeleteTextures(1, &name);
    state.ResumeTiming();
  }
  load(table, file);  // once more, to read its size
  if (table.loadingFailed()) state.SkipWithError(("cannot load " + file).c_str());
  GLint width = 0, height = 0;
  table.bindTexture(1);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
  state.counters["pixels"] = double(width) * height;
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(width) * height * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LoadingPicture(benchmark::State& state) {
  measure(state, kData + "textures/loading.jpg",
          [](TextureTable& t, const std::string& f) { t.loadJpegTexture(f, 1); });
}
BENCHMARK(BM_LoadingPicture)->Unit(benchmark::kMillisecond);

void BM_ColourTexture(benchmark::State& state) {
  measure(state, kData + "textures/horse.jpg", [](TextureTable& t, const std::string& f) { t.loadJpegTexture(f, 1); });
}
BENCHMARK(BM_ColourTexture)->Unit(benchmark::kMillisecond);

void BM_AlphaTextureSamePicture(benchmark::State& state) {
  measure(state, kData + "textures/cloud3alpha.jpg",
          [](TextureTable& t, const std::string& f) { t.loadJpegTextureWithAlpha(f, f, 1); });
}
BENCHMARK(BM_AlphaTextureSamePicture)->Unit(benchmark::kMillisecond);

void BM_NormalMap(benchmark::State& state) {
  measure(state, kData + "textures/pcb.jpg",
          [](TextureTable& t, const std::string& f) { t.loadNormalMapTexture(f, 1); });
}
BENCHMARK(BM_NormalMap)->Unit(benchmark::kMillisecond);

}  // namespace
