#include "app/demo_seek.h"

#include "director/frame_driver.h"

namespace {
// Frames taken without drawing: the part only moves its clock on, and
// nobody is at the controls.
class SkippingPorts final : public FramePorts {
 public:
  explicit SkippingPorts(DemoPart& part) : part_(part) {}
  void cursorPosition(int& x, int& y) override {
    x = 400;
    y = 300;
  }
  void beginFrame() override {}
  void drawPart(double& frameDelta, FrameInputs&) override { part_.advanceWithoutDrawing(frameDelta); }
  void drawFadeOverlay(double) override {}

 private:
  DemoPart& part_;
};

FrameControls nobodyAtTheControls(const ProcessState& s) {
  FrameControls controls;
  controls.musicEnabled = s.shell.musicEnabled;
  return controls;
}
}  // namespace

void catchUpTo(ProcessState& s, double t, int fps) {
  s.part->rewind();
  SkippingPorts skipping(*s.part);
  catchUpTo(t, fps, s.director, s.timeline, s.inputs, nobodyAtTheControls(s), skipping);
}

void enterLiveAt(ProcessState& s, double t) {
  catchUpTo(s, t, LivePlayback::kStepFps);
  SkippingPorts skipping(*s.part);
  FixedStepClock ontoT(FrameGrid(t, LivePlayback::kStepFps));
  runFrame(s.director, s.timeline, s.inputs, nobodyAtTheControls(s), skipping, ontoT, nullptr);
  if (s.shell.musicEnabled && s.soundOutput && !s.live.paused) s.music.play(t);
  frameClockReset(s.clock);
  s.director.lastClock = frameClockRead(s.clock);
}
