#include "render/render_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/demo_seek.h"
#include "app/frame_host.h"
#include "app/picture_fit.h"
#include "capture/frame_sink.h"
#include "capture/progress_line.h"
#include "capture/staged_output.h"
#include "core/diagnostics.h"
#include "core/picture_size.h"
#include "director/music.h"
#include "gpu/frame_readback.h"
#include "platform/events.h"
#include "platform/gl_window.h"
#include "platform/interrupt.h"
#include "platform/system.h"
#include "render/picture_framing.h"

namespace {
const char* jobName(const RenderRequest& r) { return r.mode == RenderMode::Shot ? "shot" : "capture"; }

// On a terminal the progress line is rewritten in place, which a sink of
// whole lines cannot do; elsewhere its lines are diagnostics like any other.
void showProgress(const std::string& text, bool terminal) {
  if (text.empty()) return;
  if (terminal) {
    std::fputs(text.c_str(), stderr);
    std::fflush(stderr);
  } else {
    report(DiagnosticLevel::Info, text.substr(0, text.size() - 1));
  }
}

int fail(const RenderRequest& r, ProgressLine& progress, const std::string& cause) {
  showProgress(progress.breakOff(), true);
  reportError(jobName(r), cause);
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
  video.width = r.width;
  video.height = r.height;
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

// A live viewer never sees a frame without a past: the glow and the
// ripples build up over the frames before it. The half second before the
// first frame written is drawn first, on the same grid, and not written.
constexpr double kWarmUpSeconds = 0.5;

int64_t warmUpFrames(const RenderRequest& r) {
  const auto wanted = static_cast<int64_t>(std::ceil(kWarmUpSeconds * r.fps));
  // Nothing is drawn before demo time 0.
  const auto before = static_cast<int64_t>(std::floor(r.start * r.fps + 1e-7));
  return std::clamp<int64_t>(before, 0, wanted);
}
}  // namespace

bool renderOutputWritable(const RenderRequest& r) {
  if (r.mode == RenderMode::Live || r.out.empty()) return true;
  std::string error;
  if (r.mode == RenderMode::Bench) {
    if (canStageOutput(r.out, StagedOutput::Kind::File, error)) return true;
    reportError("bench", "cannot write \"" + r.out + "\"");
    return false;
  }
  const bool folder = r.mode == RenderMode::Capture && captureFormatOf(r.out) == CaptureFormat::PngFolder;
  if (canStageOutput(r.out, folder ? StagedOutput::Kind::Folder : StagedOutput::Kind::File, error)) return true;
  reportError(jobName(r), error);
  return false;
}

int runRender(ProcessState& s, const RenderRequest& r) {
  catchInterrupts();
  const FrameGrid grid(r.start, r.fps);
  const int64_t frames = r.mode == RenderMode::Shot ? 1 : grid.framesBefore(r.end);
  const bool terminal = stderrIsTerminal();
  // The terminal's line is written directly, so it names the program itself.
  ProgressLine progress(frames, terminal, terminal ? "velmora: capture: " : "capture: ");
  PcmTrack track;
  std::string error;
  std::unique_ptr<FrameSink> sink = openSink(r, grid, frames, s.shell.musicEnabled, track, error);
  if (!sink) return fail(r, progress, error);

  const int64_t warmUp = warmUpFrames(r);
  const FrameGrid drawn(r.start - static_cast<double>(warmUp) / r.fps, r.fps);
  catchUpTo(s, drawn.time(0), r.fps);
  FixedStepClock clock(drawn);
  const bool capturing = r.mode == RenderMode::Capture;
  const auto began = std::chrono::steady_clock::now();
  std::vector<uint8_t> picture, frame;
  const PictureLayout& drawnSize = s.app.picture;
  for (int64_t n = -warmUp; n < frames; ++n) {
    if (stopAsked()) return fail(r, progress, "interrupted; nothing was written to \"" + r.out + "\"");
    renderFrame(s, clock);
    // A part may end its frame with its offscreen context current.
    platformMakeCurrent(s.shell.gl);
    if (n < 0) {
      showFrame(s.shell);
      continue;
    }
    readPicture(s.shell.pictureSurface.framebuffer, drawnSize.width, drawnSize.height, picture);
    framePicture(picture, drawnSize.width, drawnSize.height, r.supersample, r.width, r.height, frame);
    if (!sink->write(frame.data(), r.width, r.height, error)) return fail(r, progress, error);
    showFrame(s.shell);
    if (capturing) {
      const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
      showProgress(progress.update(n + 1, elapsed), terminal);
    }
  }
  if (!sink->finish(error)) return fail(r, progress, error);
  return 0;
}
