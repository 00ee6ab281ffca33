// What writing the picture costs per frame at 800 x 600, beside drawing it:
// the draw (finished), the read-back from the window, the PNG encoding, the
// video encoding (ffmpeg fed through its pipe), and whole captured frames
// into PNG files and into an MP4, as frames written a second. Today's part
// is the stand-in, whose drawing is light; the split is what to compare.
// Needs a display and ffmpeg: run under xvfb-run.
#include <benchmark/benchmark.h>

#include <GL/gl.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "capture/frame_sink.h"
#include "capture/png_encoding.h"
#include "gpu/frame_readback.h"
#include "plain_part.h"
#include "platform/gl_window.h"

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr double kStep = 1.0 / 60;

struct Scene {
  PlatformGl gl;
  PlainPart part;
  FrameInputs inputs;
  std::vector<uint8_t> rgb;
  bool ready = false;

  // One frame of the running demo, a step later than the last.
  void draw() {
    double step = kStep;
    if (part.partTime > 30.0) part.rewind();
    glClear(GL_COLOR_BUFFER_BIT);
    part.drawFrame(&step, nullptr, nullptr, &inputs);
  }
};

Scene& scene() {
  static Scene* s = [] {
    auto* made = new Scene;
    std::string error;
    GlWindowRequest request;
    request.title = "capture bench";
    WindowFailure failure = WindowFailure::None;
    made->ready = platformInitVideo(error) && platformCreateWindow(made->gl, request, failure) &&
                  platformCreateContext(made->gl) && platformMakeCurrent(made->gl);
    if (made->ready) {
      platformShowWindow(made->gl);
      glViewport(0, 0, kWidth, kHeight);
      made->part.setUp(nullptr);
      made->draw();
      readPicture(0, kWidth, kHeight, made->rgb);
    }
    return made;
  }();
  return *s;
}

std::string scratch(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("velmora-capture-bench-" + std::to_string(getpid()) + name))
      .string();
}

bool haveScene(benchmark::State& state) {
  if (scene().ready) return true;
  state.SkipWithError("no GL window (run under xvfb-run)");
  return false;
}

void BM_Draw(benchmark::State& state) {
  if (!haveScene(state)) return;
  for (auto _ : state) {
    scene().draw();
    glFinish();
  }
}
BENCHMARK(BM_Draw)->Unit(benchmark::kMillisecond);

void BM_Readback(benchmark::State& state) {
  if (!haveScene(state)) return;
  scene().draw();
  glFinish();
  for (auto _ : state) {
    readPicture(0, kWidth, kHeight, scene().rgb);
    benchmark::DoNotOptimize(scene().rgb.data());
  }
}
BENCHMARK(BM_Readback)->Unit(benchmark::kMillisecond);

void BM_EncodePng(benchmark::State& state) {
  if (!haveScene(state)) return;
  size_t bytes = 0;
  for (auto _ : state) bytes = encodePng(scene().rgb.data(), kWidth, kHeight).size();
  state.counters["KiB"] = static_cast<double>(bytes) / 1024.0;
}
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond);

// The same frames again and again: ffmpeg's share of a captured frame
// (the pipe blocks whenever the encoder falls behind).
void BM_EncodeMp4(benchmark::State& state) {
  if (!haveScene(state)) return;
  std::vector<std::vector<uint8_t>> frames;
  for (int i = 0; i < 30; ++i) {
    scene().draw();
    readPicture(0, kWidth, kHeight, scene().rgb);
    frames.push_back(scene().rgb);
  }
  std::string error;
  VideoSettings video;
  video.fps = 60;
  auto sink = openVideoSink(scratch(".mp4"), CaptureFormat::Mp4, video, error);
  if (!sink) return state.SkipWithError(error.c_str());
  size_t n = 0;
  for (auto _ : state) {
    if (!sink->write(frames[n++ % frames.size()].data(), kWidth, kHeight, error)) {
      return state.SkipWithError(error.c_str());
    }
  }
  sink->finish(error);
  std::filesystem::remove(scratch(".mp4"));
}
BENCHMARK(BM_EncodeMp4)->Unit(benchmark::kMillisecond)->UseRealTime();

// Whole frames as a capture makes them: draw, read back, write.
void captureInto(benchmark::State& state, const std::string& out, CaptureFormat format) {
  if (!haveScene(state)) return;
  std::string error;
  VideoSettings video;
  std::unique_ptr<FrameSink> sink =
      format == CaptureFormat::PngFolder ? openPngFolderSink(out, error) : openVideoSink(out, format, video, error);
  if (!sink) return state.SkipWithError(error.c_str());
  for (auto _ : state) {
    scene().draw();
    readPicture(0, kWidth, kHeight, scene().rgb);
    if (!sink->write(scene().rgb.data(), kWidth, kHeight, error)) return state.SkipWithError(error.c_str());
  }
  sink->finish(error);
  std::filesystem::remove_all(out);
  state.counters["frames/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_CapturePngFrames(benchmark::State& state) { captureInto(state, scratch("-frames"), CaptureFormat::PngFolder); }
BENCHMARK(BM_CapturePngFrames)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CaptureMp4Frames(benchmark::State& state) { captureInto(state, scratch(".mp4"), CaptureFormat::Mp4); }
BENCHMARK(BM_CaptureMp4Frames)->Unit(benchmark::kMillisecond)->UseRealTime();
}  // namespace
