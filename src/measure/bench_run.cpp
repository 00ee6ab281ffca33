#include "measure/bench_run.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "app/demo_seek.h"
#include "app/frame_host.h"
#include "app/picture_fit.h"
#include "choreography/scene_layers.h"
#include "core/diagnostics.h"
#include "measure/bench_figures.h"
#include "platform/events.h"
#include "platform/gl_window.h"
#include "platform/interrupt.h"

namespace {
using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point from) {
  return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// CPU time around each layer, the GPU drained before and after.
class LayerTimer final : public LayerObserver {
 public:
  explicit LayerTimer(BenchFigures& figures) : figures_(figures) {}
  void beforeLayer(int32_t) override {
    glFinish();
    began_ = Clock::now();
  }
  void afterLayer(int32_t number) override {
    glFinish();
    const double ms = msSince(began_);
    figures_.layerMs[number] += ms;
    figures_.layerFrames[number] += 1;
    total_ += ms;
  }
  double total() const { return total_; }

 private:
  BenchFigures& figures_;
  Clock::time_point began_;
  double total_ = 0.0;
};

bool stopAsked() {
  PlatformEvent event;
  bool closed = false;
  while (pollPlatformEvent(event)) closed = closed || event.kind == EventKind::Close;
  return closed || interruptRequested();
}
}  // namespace

int runBench(ProcessState& s, const RenderRequest& r) {
  constexpr int kLayerSampleEvery = 10;
  catchInterrupts();
  BenchFigures figures;
  figures.rendition = std::string(renditionName(s.rendition));
  const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  figures.device = renderer != nullptr ? renderer : "unknown";
  figures.fps = r.fps;
  figures.pictureWidth = s.app.picture.width;
  figures.pictureHeight = s.app.picture.height;
  figures.layerClock = "CPU time with glFinish around each layer, every " + std::to_string(kLayerSampleEvery) +
                       "th frame drawn once more";

  catchUpTo(s, r.start, r.fps);
  const FrameGrid grid(r.start, r.fps);
  const int64_t frames = grid.framesBefore(r.end);
  FixedStepClock clock(grid);
  LayerTimer timer(figures);
  for (int64_t n = 0; n < frames; ++n) {
    if (stopAsked()) {
      reportError("bench", "interrupted");
      return 1;
    }
    glFinish();
    const Clock::time_point began = Clock::now();
    renderFrame(s, clock);
    glFinish();
    figures.frameMs.push_back(msSince(began));
    figures.demoTime.push_back(grid.time(n));
    if (n % kLayerSampleEvery == 0) {
      // The same moment again, layer by layer: a zero step draws the same
      // part time.
      FixedStepClock still(FrameGrid(grid.time(n), r.fps));
      s.part->layerObserver = &timer;
      const double layersBefore = timer.total();
      glFinish();
      const Clock::time_point again = Clock::now();
      renderFrame(s, still);
      glFinish();
      figures.outsideLayersMs += msSince(again) - (timer.total() - layersBefore);
      figures.outsideLayersFrames += 1;
      s.part->layerObserver = nullptr;
    }
    platformMakeCurrent(s.shell.gl);
    showFrame(s.shell);
  }
  std::fputs(benchReport(figures).c_str(), stdout);
  if (!r.out.empty()) {
    std::ofstream json(r.out);
    json << benchJson(figures);
    if (!json.flush()) {
      reportError("bench", "cannot write \"" + r.out + "\"");
      return 1;
    }
  }
  return 0;
}
