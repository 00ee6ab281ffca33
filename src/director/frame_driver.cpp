#include "director/frame_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "math/random.h"

namespace {
// The constants below were single-precision literals; their widened values
// are what the choreography was timed with.
constexpr double kMusicPull = static_cast<double>(0.15f);
constexpr double kFlashFloor = static_cast<double>(0.15f);
constexpr double kFadeRate = static_cast<double>(0.8f);
constexpr double kFadeDone = static_cast<double>(0.999f);
constexpr int kDiscardedRandoms = 2000;

double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

// Every random number a frame draws depends on demo time alone.
void reseedFromDemoTime(double demoTime) {
  const auto micro = static_cast<int64_t>(demoTime * 1000000.0);
  seedRandom(static_cast<uint32_t>(micro));
  for (int i = 0; i < kDiscardedRandoms; ++i) nextRandom();
}

void relaxArrowVertical(FrameInputs& inputs, double frameDelta) {
  const double pull = 1.45 * frameDelta;
  double& v = inputs.arrowVertical;
  if (v > 0.0) {
    v = std::max(0.0, v - pull);
  } else if (v < 0.0) {
    v = std::min(0.0, v + pull);
  }
  v = std::clamp(v, -1.0, 1.0);
}
// The share of the distance to the music closed in one frame: 15 % per
// frame up to 30 frames a second, and for longer frames as much as the
// frames of 1/30 s that fit in them would close together, so that a slow
// machine stays as close to the music as a fast one.
double musicPull(double frameDelta) {
  constexpr double kFrameOfThirty = 1.0 / 30.0;
  if (frameDelta <= kFrameOfThirty) return kMusicPull;
  return 1.0 - std::pow(1.0 - kMusicPull, std::min(frameDelta, 1.0) / kFrameOfThirty);
}
// Frames are shown a draw after their music is read, so each is drawn for
// the music heard then: the median of the last few clock steps, which a
// single slow frame does not move. Capped so that one stall cannot send the
// picture far ahead.
constexpr double kLongestLead = 0.25;

double predictLead(DirectorState& state, double step) {
  static_assert(DirectorState::kLeadFrames == 3, "the median below takes three steps");
  auto& steps = state.recentSteps;
  steps[size_t(state.stepsSeen % 3)] = step;
  ++state.stepsSeen;
  const double a = steps[0], b = steps[1], c = steps[2];
  double median = std::max(std::min(a, b), std::min(std::max(a, b), c));
  if (state.stepsSeen == 1) median = a;
  if (state.stepsSeen == 2) median = std::max(a, b);
  return std::min(median, kLongestLead);
}

// Demo time is the music clock (pulled toward the heard music by a share
// of the distance each frame, as it always has been) plus the predicted
// lead. A change in the lead is taken at once, so that frames slowing down
// do not show the past for as many frames as the pull would take.
void lockToMusic(DirectorState& state, MusicChannel& music) {
  const double step = state.frameDelta;
  const double heard = static_cast<double>(music.position()) / static_cast<double>(music.frequency());
  state.musicTime = heard;
  const double end = static_cast<double>(music.length()) / static_cast<double>(music.frequency());
  const bool first = state.stepsSeen == 0;
  // Never ahead of the track's end: nothing is heard after it.
  const double lead = std::min(predictLead(state, step), std::max(0.0, end - heard));
  const double clockBefore = state.demoTime - (first ? lead : state.lead);
  const double clock = clockBefore + step + (heard - step - clockBefore) * musicPull(step);
  // Demo time never runs backwards: when the frames speed up, the picture
  // holds still until the music catches up with it.
  const double drawn = std::max(clock + lead, state.demoTime);
  state.frameDelta = drawn - state.demoTime;
  state.lead = drawn - clock;
}
}  // namespace

FrameEnd runFrame(DirectorState& state, Timeline& timeline, FrameInputs& inputs, const FrameControls& controls,
                  FramePorts& ports, StepClock& clock, MusicChannel* music) {
  int cursorX = 0;
  int cursorY = 0;
  ports.cursorPosition(cursorX, cursorY);

  state.frameDelta = clock.nextStep(state);
  if (state.frameDelta < 0.0) state.frameDelta = 0.0;

  inputs.leftButton = controls.leftButtonDown ? 1.0 : 0.0;

  if (controls.musicEnabled) {
    reseedFromDemoTime(state.demoTime);
    if (clock.locksToMusic() && music != nullptr) lockToMusic(state, *music);
  }

  inputs.unity = 1.0;
  inputs.cameraX = (cursorX - 400) * 0.0175;
  inputs.cameraY = (cursorY - 300) * 0.023333333333333334;
  inputs.cameraZ = controls.wheel;

  bool changed = false;
  inputs.cueId = timeline.findSegment(state.demoTime, changed);
  inputs.cueIndex = timeline.currentIndex;
  if (changed) state.cuePulse.startTime = state.demoTime;

  inputs.bounceA = state.cuePulse.dampedCosine(state.demoTime, 6.4, 2.0);
  inputs.bounceB = state.cuePulse.dampedCosine(state.demoTime, 6.4, 1.55);
  inputs.bounceC = state.cuePulse.dampedCosine(state.demoTime, 6.4, 0.9);
  if (inputs.cueId == 21) {
    inputs.beatFlash = (state.cuePulse.decay(state.demoTime, 6.7, 1.0) * 0.9 - kFlashFloor) * 0.55;
  }

  state.demoTime += state.frameDelta;
  inputs.time = state.demoTime;
  relaxArrowVertical(inputs, state.frameDelta);

  ports.beginFrame();
  ports.drawPart(state.frameDelta, inputs);

  if (state.demoTime > kDemoEndTime) return FrameEnd::RunOver;

  if (controls.endRequested) {
    const double x = (state.demoTime - controls.endStartTime) * kFadeRate;
    const double a = clamp01(x);
    inputs.endFlash = 1.0 - clamp01(5.0 * x);
    if (controls.musicEnabled && music != nullptr) {
      music->setVolume(static_cast<int>(255.0 - 255.0 * a));
    }
    ports.drawFadeOverlay(a);
    if (a > kFadeDone) return FrameEnd::FadedOut;
  }
  return FrameEnd::None;
}

void catchUpTo(double t, int fps, DirectorState& state, Timeline& timeline, FrameInputs& inputs,
               const FrameControls& controls, FramePorts& skipping) {
  state = DirectorState{};
  timeline.fill();
  inputs.beatFlash = 0.0;
  inputs.endFlash = 0.0;
  const FrameGrid fromZero(0.0, fps);
  FixedStepClock clock(fromZero);
  const int64_t frames = fromZero.framesBefore(t);
  for (int64_t n = 0; n < frames; ++n) runFrame(state, timeline, inputs, controls, skipping, clock, nullptr);
}
