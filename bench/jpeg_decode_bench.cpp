// Decoding speed of Velmora's JPEG decoder against libjpeg-turbo (TurboJPEG,
// fast DCT and fast upsampling) and stb_image, on the same pictures: 2048 x
// 2048 at quality 90, baseline 4:2:0, baseline 4:4:4 and progressive 4:2:0.
// Prints MPix/s per decoder and the ratios. Extra JPEG files given on the
// command line (after Google Benchmark's own flags) join the table.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "assets/input_stream.h"
#include "assets/jpeg_decoder.h"

#include <stb/stb_image.h>

namespace {

struct Picture {
  std::string name;
  std::vector<unsigned char> jpeg;
  int width = 0, height = 0;
};

// Smooth shading, textured regions, hard edges and grain: the mix of a photo.
std::vector<unsigned char> makeScene(int w, int h) {
  std::vector<unsigned char> rgb(std::size_t(w) * h * 3);
  std::uint32_t seed = 12345;
  auto rnd = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) * (1.0f / 16777216.0f);
  };
  const int g = 64;  // value-noise lattice
  std::vector<float> lattice((w / g + 2) * (h / g + 2));
  for (float& v : lattice) v = rnd();
  const int lw = w / g + 2;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float fx = float(x) / g, fy = float(y) / g;
      const int ix = int(fx), iy = int(fy);
      const float tx = fx - ix, ty = fy - iy;
      const float n = lattice[iy * lw + ix] * (1 - tx) * (1 - ty) + lattice[iy * lw + ix + 1] * tx * (1 - ty) +
                      lattice[(iy + 1) * lw + ix] * (1 - tx) * ty + lattice[(iy + 1) * lw + ix + 1] * tx * ty;
      const float sky = 0.5f + 0.5f * std::sin(x * 0.003f + y * 0.002f);
      const float ripple = 0.5f + 0.5f * std::sin(std::hypot(x - w * 0.6f, y - h * 0.4f) * 0.05f);
      const bool disc = std::hypot(x - w * 0.3f, y - h * 0.7f) < w * 0.15f;
      const bool bar = (x / 97 + y / 131) % 7 == 0;
      const float grain = (rnd() - 0.5f) * 0.08f;
      float r = 0.6f * sky + 0.3f * n + grain;
      float gr = 0.4f * ripple + 0.4f * n + grain;
      float b = 0.7f * (1 - sky) + 0.2f * ripple + grain;
      if (disc) r = 0.9f * r + 0.1f, gr *= 0.5f;
      if (bar) b = 1.0f - b;
      unsigned char* p = &rgb[(std::size_t(y) * w + x) * 3];
      const float c[3] = {r, gr, b};
      for (int i = 0; i < 3; ++i) p[i] = (unsigned char)std::lround(std::fmin(1.0f, std::fmax(0.0f, c[i])) * 255);
    }
  return rgb;
}

Picture compress(const std::string& name, const std::vector<unsigned char>& rgb, int w, int h, int subsamp,
                 bool progressive) {
  tjhandle tj = tjInitCompress();
  unsigned char* out = nullptr;
  unsigned long size = 0;
  const int flags = TJFLAG_FASTDCT | (progressive ? TJFLAG_PROGRESSIVE : 0);
  if (tjCompress2(tj, rgb.data(), w, 0, h, TJPF_RGB, &out, &size, subsamp, 90, flags) != 0) {
    std::fprintf(stderr, "tjCompress2: %s\n", tjGetErrorStr2(tj));
    std::exit(1);
  }
  Picture p{name, std::vector<unsigned char>(out, out + size), w, h};
  tjFree(out);
  tjDestroy(tj);
  return p;
}

std::vector<Picture>& pictures() {
  static std::vector<Picture> list;
  return list;
}

void decodeVelmora(benchmark::State& state, const Picture& p) {
  std::vector<std::uint8_t> out(std::size_t(p.width) * p.height * 4);
  for (auto _ : state) {
    MemoryInputStream stream(p.jpeg.data(), p.jpeg.size());
    JpegDecoder decoder(stream, true);
    if (decoder.beginDecoding() != 0) {
      state.SkipWithError("velmora: decode failed");
      return;
    }
    const std::uint8_t* line = nullptr;
    int length = 0;
    std::uint8_t* dst = out.data();
    while (decoder.decode(line, length) == 0) {
      std::memcpy(dst, line, std::size_t(length));
      dst += length;
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["MPix/s"] =
      benchmark::Counter(double(p.width) * p.height * 1e-6 * state.iterations(), benchmark::Counter::kIsRate);
}

void decodeTurbo(benchmark::State& state, const Picture& p) {
  std::vector<std::uint8_t> out(std::size_t(p.width) * p.height * 4);
  tjhandle tj = tjInitDecompress();
  for (auto _ : state) {
    if (tjDecompress2(tj, p.jpeg.data(), p.jpeg.size(), out.data(), p.width, 0, p.height, TJPF_RGBX,
                      TJFLAG_FASTDCT | TJFLAG_FASTUPSAMPLE) != 0) {
      state.SkipWithError("turbojpeg: decode failed");
      break;
    }
    benchmark::DoNotOptimize(out.data());
  }
  tjDestroy(tj);
  state.counters["MPix/s"] =
      benchmark::Counter(double(p.width) * p.height * 1e-6 * state.iterations(), benchmark::Counter::kIsRate);
}

void decodeStb(benchmark::State& state, const Picture& p) {
  for (auto _ : state) {
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load_from_memory(p.jpeg.data(), int(p.jpeg.size()), &w, &h, &n, 4);
    if (!px) {
      state.SkipWithError("stb_image: decode failed");
      break;
    }
    benchmark::DoNotOptimize(px);
    stbi_image_free(px);
  }
  state.counters["MPix/s"] =
      benchmark::Counter(double(p.width) * p.height * 1e-6 * state.iterations(), benchmark::Counter::kIsRate);
}

// Collects MPix/s per benchmark name while printing the usual console table.
class RateReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> rates;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      auto it = r.counters.find("MPix/s");
      if (it == r.counters.end() || r.error_occurred) continue;
      // Without repetitions the single run counts; with them, the best one.
      if (r.run_type == Run::RT_Aggregate ? r.aggregate_name == "best" : r.repetitions <= 1)
        rates[r.run_name.function_name] = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  // The machines this runs on are shared: repeat each case, interleave the
  // runs of all decoders, and rate each by its best repetition.
  std::vector<char*> args(argv, argv + argc);
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  char repetitions[] = "--benchmark_repetitions=5";
  char minTime[] = "--benchmark_min_time=0.2";
  args.insert(args.begin() + 1, {interleave, repetitions, minTime});
  argc = int(args.size());
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  const int n = 2048;
  const std::vector<unsigned char> scene = makeScene(n, n);
  pictures().push_back(compress("baseline-420", scene, n, n, TJSAMP_420, false));
  pictures().push_back(compress("baseline-444", scene, n, n, TJSAMP_444, false));
  pictures().push_back(compress("progressive-420", scene, n, n, TJSAMP_420, true));
  for (int i = 1; i < argc; ++i) {
    std::ifstream f(argv[i], std::ios::binary);
    std::vector<unsigned char> data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    tjhandle tj = tjInitDecompress();
    int w = 0, h = 0, ss = 0, cs = 0;
    if (data.empty() || tjDecompressHeader3(tj, data.data(), data.size(), &w, &h, &ss, &cs) != 0) {
      std::fprintf(stderr, "%s: not a JPEG TurboJPEG reads\n", argv[i]);
      return 1;
    }
    tjDestroy(tj);
    pictures().push_back(Picture{argv[i], std::move(data), w, h});
  }

  for (const Picture& p : pictures()) {
    using Decode = void (*)(benchmark::State&, const Picture&);
    const std::pair<std::string, Decode> decoders[] = {
        {"velmora/", decodeVelmora}, {"turbojpeg/", decodeTurbo}, {"stb_image/", decodeStb}};
    for (const auto& [name, fn] : decoders)
      benchmark::RegisterBenchmark((name + p.name).c_str(), fn, p)
          ->Unit(benchmark::kMillisecond)
          ->ComputeStatistics("best", [](const std::vector<double>& v) {
            return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
          });
  }
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);

  std::printf("\n%-18s %12s %12s %12s %14s %14s\n", "picture (MPix/s)", "velmora", "turbojpeg", "stb_image",
              "velmora/turbo", "velmora/stb");
  for (const Picture& p : pictures()) {
    const double v = reporter.rates["velmora/" + p.name];
    const double t = reporter.rates["turbojpeg/" + p.name];
    const double s = reporter.rates["stb_image/" + p.name];
    std::printf("%-18s %12.1f %12.1f %12.1f %14.2f %14.2f\n", p.name.c_str(), v, t, s, t > 0 ? v / t : 0.0,
                s > 0 ? v / s : 0.0);
  }
  benchmark::Shutdown();
  return 0;
}
