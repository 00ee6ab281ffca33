#include "app/frame_host.h"

#include <GL/gl.h>

#include <algorithm>

#include "app/clipboard.h"
#include "app/demo_seek.h"
#include "app/picture_fit.h"
#include "app/process_state.h"
#include "core/diagnostics.h"
#include "director/frame_driver.h"
#include "effects/billboard.h"
#include "effects/fade_overlay.h"
#include "platform/system.h"

namespace {
// A paused window is repainted now and then, not as fast as the core allows.
constexpr int kPausedPauseMs = 10;

// The frame driver's view of the running program.
class DrawingPorts final : public FramePorts {
 public:
  DrawingPorts(ProcessState& s, bool realCursor) : s_(s), realCursor_(realCursor) {}

  void cursorPosition(int& x, int& y) override {
    if (realCursor_) {
      ::cursorPosition(x, y);
      // Fullscreen used to be the production's own 800 x 600 screen; now
      // it is the desktop's, the picture in its middle.
      if (s_.shell.fullscreen) cursorOnProductionScreen(s_.shell.shown, s_.shell.windowHeight, x, y);
    } else {
      x = 400;
      y = 300;
    }
  }

  void beginFrame() override {
    s_.app.resolutionMode = 2;
    screenCopyMode = 2;               // the billboard code's own copy of the resolution mode, kept equal to it
    s_.app.textures.textureBase = 0;  // start-up set it already; every frame restates what the part relies on
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_ONE, GL_ONE);
  }

  void drawPart(double& frameDelta, FrameInputs& inputs) override {
    s_.part->drawFrame(&frameDelta, &s_.offscreen, &s_.app, &inputs);
  }

  void drawFadeOverlay(double level) override { ::drawFadeOverlay(level); }

 private:
  ProcessState& s_;
  bool realCursor_;
};

// The window changed size: the picture follows. A size the driver cannot
// draw falls back to the production's own, scaled to the window.
void followWindowSize(ProcessState& s) {
  std::string error;
  if (fitPictureToWindow(s, error)) return;
  reportWarning("picture", error + "; drawing 800 x 600 instead");
  s.shell.askedPictureWidth = kPictureWidth;
  s.shell.askedPictureHeight = kPictureHeight;
  if (!fitPictureToWindow(s, error)) reportError("picture", error);
}

bool musicPlays(const ProcessState& s) { return s.shell.musicEnabled && s.soundOutput; }

// One line per frame: the demo time it shows, the music heard when it
// reached the screen (what a viewer compares it with; the director's own
// reading at the frame's start is a frame older), its step, and the size
// of the picture drawn.
void logFrame(ProcessState& s) {
  if (s.frameLog == nullptr) return;
  double heard = s.director.musicTime;
  if (musicPlays(s) && s.music.frequency() > 0) heard = double(s.music.position()) / double(s.music.frequency());
  std::fprintf(s.frameLog, "%.6f %.6f %.6f %dx%d\n", s.director.demoTime, heard, s.director.frameDelta,
               s.app.picture.width, s.app.picture.height);
  // Whoever measures reads the log while the demo plays; Windows' C
  // runtime has no line buffering, so each line is flushed here.
  std::fflush(s.frameLog);
}

// Space, '.', ',' and '/' since the last frame. Escape resumes a paused
// run, so that its fade can play.
void applyPlaybackKeys(ProcessState& s) {
  PlaybackRequests& asked = s.shell.playback;
  LivePlayback& live = s.live;
  if (asked.togglePause || (live.paused && s.shell.endRequested)) {
    live.paused = !live.paused;
    live.pendingSteps = 0;
    if (musicPlays(s)) {
      if (live.paused) {
        s.music.pause();
      } else {
        s.music.play(s.director.demoTime);
      }
    }
  }
  // A jump would leave the Escape fade measured from a moment that moved.
  if (asked.jumpSeconds != 0 && !s.shell.endRequested) {
    const double last = kDemoEndTime - 1.0 / LivePlayback::kStepFps;
    enterLiveAt(s, std::clamp(s.director.demoTime + asked.jumpSeconds, 0.0, last));
  }
  if (live.paused) live.pendingSteps += asked.steps;
  asked = PlaybackRequests{};
}
}  // namespace

std::optional<int> playFrame(ProcessState& s) {
  if (s.shell.resized) followWindowSize(s);
  applyPlaybackKeys(s);
  if (s.live.paused && s.live.pendingSteps == 0) sleepMilliseconds(kPausedPauseMs);
  const FrameControls controls{s.shell.musicEnabled, s.shell.leftButtonDown, s.shell.wheel, s.shell.endRequested,
                               s.shell.endStartTime};
  DrawingPorts ports(s, true);
  LiveStepClock clock(s.clock, s.live);
  const FrameEnd end =
      runFrame(s.director, s.timeline, s.inputs, controls, ports, clock, musicPlays(s) ? &s.music : nullptr);
  // A frame that goes on is logged once it is shown (frameShown); the one
  // that ends the run here, before the loop shows it and returns.
  if (end == FrameEnd::None) return std::nullopt;
  logFrame(s);
  if (end == FrameEnd::FadedOut) copyTextToClipboard(s.shell.clipboardText);
  return 0;
}

void frameShown(ProcessState& s) { logFrame(s); }

void renderFrame(ProcessState& s, StepClock& clock) {
  FrameControls controls;
  controls.musicEnabled = s.shell.musicEnabled;
  DrawingPorts ports(s, false);
  runFrame(s.director, s.timeline, s.inputs, controls, ports, clock, nullptr);
  logFrame(s);
}
