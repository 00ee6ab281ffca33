#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "director/frame_driver.h"
#include "math/random.h"

namespace {
// A clock that moves only when the test says so.
struct ScriptedPorts final : FramePorts, StepClock {
  double clock = 0.0;
  double step = 0.02;  // added before every frame
  int partsDrawn = 0;
  std::vector<double> overlays;

  double nextStep(DirectorState& state) override {
    clock += step;
    const double delta = clock - state.lastClock;
    state.lastClock = clock;
    return delta;
  }
  bool locksToMusic() const override { return true; }
  void cursorPosition(int& x, int& y) override {
    x = cursorX;
    y = cursorY;
  }
  void beginFrame() override {}
  void drawPart(double&, FrameInputs&) override { ++partsDrawn; }
  void drawFadeOverlay(double level) override { overlays.push_back(level); }

  int cursorX = 400;
  int cursorY = 300;
};

struct FakeMusic final : MusicChannel {
  uint32_t samples = 0;
  int rate = 44100;
  std::vector<int> volumes;
  uint32_t trackLength = UINT32_MAX;
  uint32_t position() override { return samples; }
  uint32_t length() override { return trackLength; }
  int frequency() override { return rate; }
  void setVolume(int v) override { volumes.push_back(v); }
};

class FrameDriverTest : public ::testing::Test {
 protected:
  void SetUp() override { timeline.fill(); }
  FrameEnd frame() { return runFrame(state, timeline, inputs, controls, ports, ports, &music); }

  DirectorState state;
  Timeline timeline;
  FrameInputs inputs;
  FrameControls controls;
  ScriptedPorts ports;
  FakeMusic music;
};

TEST_F(FrameDriverTest, MusicOffFollowsTheClockAloneAndLeavesTheGeneratorAlone) {
  controls.musicEnabled = false;
  seedRandom(1234);
  const int expected = nextRandom();
  seedRandom(1234);
  music.samples = 44100 * 10;  // would pull hard if it were read
  for (int i = 0; i < 50; ++i) EXPECT_EQ(frame(), FrameEnd::None);
  EXPECT_NEAR(state.demoTime, 50 * 0.02, 1e-12);
  EXPECT_DOUBLE_EQ(inputs.time, state.demoTime);
  EXPECT_EQ(nextRandom(), expected);
  EXPECT_EQ(ports.partsDrawn, 50);
}

TEST_F(FrameDriverTest, OneSecondBehindTheMusicAddsFifteenPercent) {
  controls.musicEnabled = true;
  state.demoTime = 2.0;
  music.samples = 3 * 44100;
  frame();
  EXPECT_NEAR(state.frameDelta, 0.02 + 0.15, 1e-7);
  EXPECT_NEAR(state.demoTime, 2.0 + 0.17, 1e-7);
  EXPECT_DOUBLE_EQ(state.musicTime, 3.0);
  // A slow first frame (0.1 s, three frames of 1/30 s) closes as much of
  // the distance as three frames of 1/30 s would: 1 - 0.85^3.
  state.stepsSeen = 0;
  state.demoTime = 2.0;
  music.samples = 3 * 44100;
  ports.step = 0.1;
  frame();
  EXPECT_NEAR(state.frameDelta, 0.1 + (1.0 - std::pow(0.85, 3.0)), 1e-6);
  ports.step = 0.02;
  // A position above 2^31 samples is still positive.
  music.samples = 0x80000000u;
  music.rate = 1 << 20;
  frame();
  EXPECT_DOUBLE_EQ(state.musicTime, 2048.0);
}

// Frames of 50 ms, and a sound device that starts 0.4 s late: after the
// first second every frame is within 10 ms of the music heard when it is
// shown (the start of the next frame, when a frame takes all its 50 ms).
TEST_F(FrameDriverTest, SlowFramesCatchUpWithLateMusicWithinASecond) {
  controls.musicEnabled = true;
  ports.step = 0.05;
  auto heardAt = [](double wall) { return std::max(0.0, wall - 0.4); };
  int checked = 0;
  for (int k = 0; k < 60; ++k) {
    music.samples = static_cast<uint32_t>(heardAt(ports.clock + ports.step) * 44100.0);
    frame();
    const double shown = heardAt(ports.clock + ports.step);
    if (state.demoTime >= 1.0) {
      EXPECT_NEAR(state.demoTime, shown, 0.010) << "frame " << k;
      ++checked;
    }
  }
  EXPECT_GT(checked, 30);
}

// Each frame is shown one frame's time after its music is read. When the
// frames slow down from 50 to 100 ms, three frames later every frame is
// drawn for the music heard when it is shown again; one stalled frame of
// 400 ms in between does not throw the next ones off; demo time never runs
// backwards when they speed up again; and near the track's end no frame is
// drawn for music after it.
TEST_F(FrameDriverTest, FramesAreDrawnForTheMusicHeardWhenTheyAreShown) {
  controls.musicEnabled = true;
  music.samples = 0;
  auto play = [&](double step, int frames) {
    ports.step = step;
    for (int k = 0; k < frames; ++k) {
      const double before = state.demoTime;
      music.samples = static_cast<uint32_t>((ports.clock + step) * 44100.0);
      frame();
      EXPECT_GE(state.demoTime, before);
    }
  };
  play(0.05, 40);
  EXPECT_NEAR(state.demoTime, ports.clock + 0.05, 0.001);
  play(0.1, 3);
  EXPECT_NEAR(state.demoTime, ports.clock + 0.1, 0.001);
  play(0.4, 1);
  play(0.1, 1);
  EXPECT_NEAR(state.demoTime, ports.clock + 0.1, 0.001);
  play(0.02, 10);
  EXPECT_NEAR(state.demoTime, ports.clock + 0.02, 0.001);

  music.trackLength = static_cast<uint32_t>((ports.clock + 0.05) * 44100.0);
  play(0.1, 1);
  EXPECT_LE(state.demoTime, ports.clock + 0.05 + 0.001);
}

TEST_F(FrameDriverTest, MusicOnReseedsFromDemoTimeEveryFrame) {
  controls.musicEnabled = true;
  state.demoTime = 1.25;
  music.samples = static_cast<uint32_t>(1.25 * 44100);
  frame();
  const int afterFrame = nextRandom();
  seedRandom(1250000);
  for (int i = 0; i < 2000; ++i) nextRandom();
  EXPECT_EQ(afterFrame, nextRandom());
}

TEST_F(FrameDriverTest, CameraComesFromTheCursorAndTheWheel) {
  ports.cursorX = 800;
  ports.cursorY = 0;
  controls.wheel = 0.4;
  controls.leftButtonDown = true;
  frame();
  EXPECT_DOUBLE_EQ(inputs.cameraX, 7.0);
  EXPECT_DOUBLE_EQ(inputs.cameraY, -7.0);
  EXPECT_DOUBLE_EQ(inputs.cameraZ, 0.4);
  EXPECT_EQ(inputs.leftButton, 1.0);
  EXPECT_EQ(inputs.unity, 1.0);
}

TEST_F(FrameDriverTest, AGapFrameRestartsTheCuePulse) {
  state.demoTime = 100.0;  // between cues
  ports.step = 0.0;
  frame();
  EXPECT_EQ(inputs.cueId, 0);
  EXPECT_DOUBLE_EQ(inputs.bounceA, 1.0);
  EXPECT_DOUBLE_EQ(inputs.bounceB, 1.0);
  EXPECT_DOUBLE_EQ(inputs.bounceC, 1.0);
  EXPECT_DOUBLE_EQ(state.cuePulse.startTime, 100.0);
}

TEST_F(FrameDriverTest, BouncesEvolveWithinACue) {
  frame();  // the first lookup is a change at demo time 0
  EXPECT_DOUBLE_EQ(state.cuePulse.startTime, 0.0);
  for (int i = 0; i < 10; ++i) frame();
  const double t = state.demoTime - 0.02;  // the bounce is read before the advance
  EXPECT_NEAR(inputs.bounceA, std::cos(t * 2.0) / (6.4 * t * 2.0 + 1.0), 1e-12);
  EXPECT_EQ(inputs.cueId, 9);
}

TEST_F(FrameDriverTest, BeatFlashStartsAt04125AndFallsTowardMinus00825) {
  state.demoTime = 271.0;  // a fresh id-21 cue
  ports.step = 0.0;
  frame();
  EXPECT_EQ(inputs.cueId, 21);
  EXPECT_NEAR(inputs.beatFlash, 0.4125, 1e-8);
  state.demoTime = 271.06;  // same cue, later
  ports.step = 0.0;
  frame();
  EXPECT_LT(inputs.beatFlash, 0.4125);
  EXPECT_GT(inputs.beatFlash, -0.0825);
  state.demoTime = 500.0;  // no cue: the flash keeps its last value
  const double kept = inputs.beatFlash;
  frame();
  EXPECT_EQ(inputs.beatFlash, kept);
}

TEST_F(FrameDriverTest, ArrowVerticalRelaxesToZeroWithoutOvershoot) {
  inputs.arrowVertical = 0.5;
  ports.step = 1.0;
  frame();
  EXPECT_EQ(inputs.arrowVertical, 0.0);
  inputs.arrowVertical = -3.0;
  ports.step = 0.1;
  frame();
  EXPECT_EQ(inputs.arrowVertical, -1.0);  // relaxed to -2.855, then clamped
}

TEST_F(FrameDriverTest, NegativeClockStepCountsAsZero) {
  state.lastClock = 5.0;  // the clock reads less than last time
  frame();
  EXPECT_EQ(state.frameDelta, 0.0);
  EXPECT_EQ(state.demoTime, 0.0);
}

TEST_F(FrameDriverTest, RunEndsOnTheFirstFrameAbove33AndAHalf) {
  state.demoTime = 33.49;
  ports.step = 0.0;
  EXPECT_EQ(frame(), FrameEnd::None);
  ports.step = 0.02;
  EXPECT_EQ(frame(), FrameEnd::RunOver);
  EXPECT_GT(state.demoTime, 33.5);
}

TEST_F(FrameDriverTest, RunEndWinsInTheMiddleOfAFade) {
  controls.musicEnabled = false;
  state.demoTime = 33.0;
  controls.endRequested = true;
  controls.endStartTime = 33.0;
  FrameEnd end = FrameEnd::None;
  while (end == FrameEnd::None) end = frame();
  EXPECT_EQ(end, FrameEnd::RunOver);
  EXPECT_LT(ports.overlays.back(), 0.5);
}

TEST_F(FrameDriverTest, FadeTakesOneAndAQuarterSecondsAndRunsTheVolumeDown) {
  controls.musicEnabled = true;
  state.demoTime = 5.0;
  music.samples = 5 * 44100;
  controls.endRequested = true;
  controls.endStartTime = 5.0;
  FrameEnd end = FrameEnd::None;
  ports.step = 0.01;
  while (end == FrameEnd::None) {
    music.samples += 441;  // the music keeps pace with the clock
    end = frame();
  }
  EXPECT_EQ(end, FrameEnd::FadedOut);
  EXPECT_NEAR(state.demoTime - 5.0, 1.25, 0.011);
  ASSERT_FALSE(music.volumes.empty());
  EXPECT_GE(music.volumes.front(), 252);
  EXPECT_EQ(music.volumes.back(), 0);
  for (size_t i = 1; i < music.volumes.size(); ++i) EXPECT_LE(music.volumes[i], music.volumes[i - 1]);
  EXPECT_EQ(inputs.endFlash, 0.0);
}

TEST_F(FrameDriverTest, FadeLengthDoesNotDependOnTheFrameRateAndTheEndFlashComesFirst) {
  for (double step : {0.001, 0.05}) {
    DirectorState s;
    ScriptedPorts p;
    p.step = step;
    FrameControls c;
    c.endRequested = true;
    c.endStartTime = 0.0;
    while (runFrame(s, timeline, inputs, c, p, p, nullptr) == FrameEnd::None) {
    }
    EXPECT_NEAR(s.demoTime, 1.25, step + 1e-9) << step;
  }
  // The end flash falls over the first quarter second of the fade.
  controls.endRequested = true;
  controls.endStartTime = 0.0;
  ports.step = 0.125;
  frame();  // x = 0.1, 5x = 0.5
  EXPECT_NEAR(inputs.endFlash, 0.5, 1e-6);
  frame();
  EXPECT_EQ(inputs.endFlash, 0.0);
}
}  // namespace
