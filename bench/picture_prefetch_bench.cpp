// The set-up's pictures decoded one after the other on the loading thread,
// against decoded ahead on worker threads and taken in load order: what the
// loading thread waits for in all. No GL: the uploads are the same either
// way. Needs the generated data (build velmora_data first).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstddef>
#include <vector>

#include "assets/picture_prefetch.h"
#include "parts/part_set_up.h"

namespace {

const std::vector<PictureRequest>& pictures() {
  static const std::vector<PictureRequest> list = setUpPictures(RenditionKind::shader);
  return list;
}

bool enterData(benchmark::State& state) {
  if (chdir(VELMORA_BINARY_DIR "/data") == 0) return true;
  state.SkipWithError("no generated data folder");
  return false;
}

void countPixels(benchmark::State& state, std::size_t bytes) {
  state.counters["pictures"] = double(pictures().size());
  state.counters["Mpixel/s"] =
      benchmark::Counter(double(bytes) / 3 * 1e-6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_SetUpPicturesInline(benchmark::State& state) {
  if (!enterData(state)) return;
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const PictureRequest& r : pictures()) {
      const PictureRead read = decodeJpegPicture(r.file, r.order, r.mirrored);
      bytes += read.picture.pixels.size();
    }
  }
  countPixels(state, bytes);
}
BENCHMARK(BM_SetUpPicturesInline)->Unit(benchmark::kMillisecond)->UseRealTime();

// Argument: worker threads (0: one per hardware thread).
void BM_SetUpPicturesPrefetched(benchmark::State& state) {
  if (!enterData(state)) return;
  std::size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    PicturePrefetch prefetch(pictures(), unsigned(state.range(0)));
    for (const PictureRequest& r : pictures()) {
      const std::optional<PictureRead> read = prefetch.take(r.file, r.order, r.mirrored);
      if (read) bytes += read->picture.pixels.size();
    }
    state.counters["workers"] = double(prefetch.workerCount());
  }
  countPixels(state, bytes);
}
BENCHMARK(BM_SetUpPicturesPrefetched)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
