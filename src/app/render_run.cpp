#include "app/render_run.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/demo_seek.h"
#include "app/frame_host.h"
#include "capture/frame_sink.h"
#include "capture/progress_line.h"
#include "director/music.h"
#include "gpu/frame_readback.h"
#include "platform/events.h"
#include "platform/gl_window.h"
#include "platform/interrupt.h"

namespace {
constexpr int kWidth = 800;
constexpr int kHeight = 600;

int fail(ProgressLine& progress, const std::string& cause) {
  std::fprintf(stderr, "%svelmora: %s\n", progress.breakOff().c_str(), cause.c_str());
  return 1;
}

// The window closed, or Ctrl-C: the job stops between two frames.
bool stopAsked() {
  PlatformEvent event;
  bool closed = false;
  while (pollPlatformEvent(event)) closed = closed || event.kind == EventKind::Close;
  return closed || interruptRequested();
}

std::unique_ptr<FrameSink> openSink(const RenderRequest& r, const FrameGrid& grid, int64_t frames, bool withSound,
                                    PcmTrack& track, std::string& error) {
  if (r.mode == RenderMode::Shot) return openPngFileSink(r.out, error);
  const CaptureFormat format = captureFormatOf(r.out);
  if (format == CaptureFormat::PngFolder) return openPngFolderSink(r.out, error);
  VideoSettings video;
  video.width = kWidth;
  video.height = kHeight;
  video.fps = r.fps;
  if (withSound) {
    std::string why;
    if (!decodeOggTrack(MusicPlayback::kTrackPath, track, why)) {
      error = std::string(MusicPlayback::kTrackPath) + ": " + why +
              " (the video needs the track; --no-music makes a silent one)";
      return nullptr;
    }
    video.track = &track;
    video.trackFrom = static_cast<size_t>(grid.time(0) * track.rate + 0.5);
    video.trackFrames = static_cast<size_t>(static_cast<double>(frames) * track.rate / r.fps + 0.5);
  }
  return openVideoSink(r.out, format, video, error);
}
}  // namespace

int runRender(ProcessState& s, const RenderRequest& r) {
  catchInterrupts();
  const FrameGrid grid(r.start, r.fps);
  const int64_t frames = r.mode == RenderMode::Shot ? 1 : grid.framesBefore(r.end);
  ProgressLine progress(frames, stderrIsTerminal(), "velmora: capture: ");
  PcmTrack track;
  std::string error;
  std::unique_ptr<FrameSink> sink = openSink(r, grid, frames, s.shell.musicEnabled, track, error);
  if (!sink) return fail(progress, error);

  catchUpTo(s, r.start, r.fps);
  FixedStepClock clock(grid);
  const bool showProgress = r.mode == RenderMode::Capture;
  const auto began = std::chrono::steady_clock::now();
  std::vector<uint8_t> rgb;
  for (int64_t n = 0; n < frames; ++n) {
    if (stopAsked()) return fail(progress, "interrupted; nothing was written to \"" + r.out + "\"");
    renderFrame(s, clock);
    // A part may end its frame with its offscreen context current.
    platformMakeCurrent(s.shell.gl);
    readBackBuffer(kWidth, kHeight, rgb);
    if (!sink->write(rgb.data(), kWidth, kHeight, error)) return fail(progress, error);
    platformSwapBuffers(s.shell.gl);
    if (showProgress) {
      const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      const std::string line = progress.update(n + 1, elapsed);
      if (!line.empty()) std::fputs(line.c_str(), stderr);
    }
  }
  if (!sink->finish(error)) return fail(progress, error);
  return 0;
}
