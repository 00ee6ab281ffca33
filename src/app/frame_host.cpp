#include "app/frame_host.h"

#include <GL/gl.h>

#include "app/clipboard.h"
#include "app/process_state.h"
#include "director/frame_driver.h"
#include "effects/billboard.h"
#include "effects/fade_overlay.h"
#include "platform/system.h"

namespace {
// The frame driver's view of the running program.
class LivePorts final : public FramePorts {
 public:
  explicit LivePorts(ProcessState& s) : s_(s) {}

  double readClock() override { return frameClockRead(s_.clock); }
  void cursorPosition(int& x, int& y) override { ::cursorPosition(x, y); }

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
};

void logFrame(ProcessState& s) {
  if (s.frameLog == nullptr) return;
  std::fprintf(s.frameLog, "%.6f %.6f %.6f\n", s.director.demoTime, s.director.musicTime, s.director.frameDelta);
}
}  // namespace

std::optional<int> playFrame(ProcessState& s) {
  const FrameControls controls{s.shell.musicEnabled, s.shell.leftButtonDown, s.shell.wheel, s.shell.endRequested,
                               s.shell.endStartTime};
  LivePorts ports(s);
  const FrameEnd end =
      runFrame(s.director, s.timeline, s.inputs, controls, ports, s.shell.musicEnabled ? &s.music : nullptr);
  logFrame(s);
  if (end == FrameEnd::None) return std::nullopt;
  if (end == FrameEnd::FadedOut) copyTextToClipboard(s.shell.clipboardText);
  return 0;
}
