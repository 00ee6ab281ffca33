// The director: the timeline of cues, one frame's bookkeeping (music lock,
// cue pulse, fade, end) and the fixed-step clocks of shots and captures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "director/frame_driver.h"
#include "director/step_clock.h"
#include "director/timeline.h"
#include "math/random.h"

namespace {
// A clock that moves only when the test says so; what the part was handed.
struct ScriptedPorts final : FramePorts, StepClock {
  double clock = 0.0, step = 0.02, partClock = 0.0;
  int cursorX = 400, cursorY = 300;
  std::vector<double> overlays, times, bounces;
  double nextStep(DirectorState& state) override {
    clock += step;
    const double delta = clock - state.lastClock;
    state.lastClock = clock;
    return delta;
  }
  bool locksToMusic() const override { return true; }
  void cursorPosition(int& x, int& y) override { x = cursorX, y = cursorY; }
  void beginFrame() override {}
  void drawPart(double& delta, FrameInputs& inputs) override {
    partClock += delta;
    times.push_back(inputs.time);
    bounces.push_back(inputs.bounceA);
  }
  void drawFadeOverlay(double level) override { overlays.push_back(level); }
};

// What the generator gives next after a frame at `demoTime` with music on:
// reseeded from the time in microseconds, 2000 values discarded.
int reseededAt(double demoTime) {
  seedRandom(static_cast<uint32_t>(static_cast<int64_t>(demoTime * 1000000.0)));
  for (int i = 0; i < 2000; ++i) nextRandom();
  return nextRandom();
}

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

class DirectorTest : public ::testing::Test {
 protected:
  void SetUp() override { timeline.fill(); }
  FrameEnd frame() { return runFrame(state, timeline, inputs, controls, ports, ports, &music); }
  // "id changed index" of the cue found at t.
  std::string at(double t) {
    bool changed = false;
    const int32_t id = timeline.findSegment(t, changed);
    return std::to_string(id) + (changed ? " changed " : " same ") + std::to_string(timeline.currentIndex);
  }
  DirectorState state;
  Timeline timeline;
  FrameInputs inputs;
  FrameControls controls;
  ScriptedPorts ports;
  FakeMusic music;
};

// Both bounds are inclusive and the later row wins a shared moment;
// enclosed cues beat their enclosing cue; a gap is a change every time and
// keeps the current index; time may run backwards.
TEST_F(DirectorTest, TheTimelineFindsTheLaterRowAndReportsEachChange) {
  at(50.0);
  timeline.fill();  // forgets the last cue: the start is a change again
  // Demo time, then what is found: the later row at 80 and 105.01 (cue 4
  // ends where 5 starts, 4 is later); the enclosing cue 28 at 274.329 where
  // cue 9 starts; the same id in another cue is a change; a gap is a change
  // every time and keeps the index, and coming back after it is none.
  std::istringstream rows(
      "0 9 changed 5|10 9 same 5|79.999 9 same 5|80 9 same 5|80.0001 1 changed 0|104.94 4 changed 3|"
      "105.01 5 changed 4|105.134 5 same 4|270 21 changed 28|271 21 changed 29|271.2 21 changed 28|"
      "271.5 21 changed 30|274.329 21 changed 28|274.33 21 changed 9|95 3 changed 2|100 0 changed 2|"
      "100 0 changed 2|96 3 same 2|104.9 0 changed 2|230 0 changed 2|1000 0 changed 2|-0.001 0 changed 2|"
      "90 2 changed 1|5 9 changed 5");
  for (std::string row; std::getline(rows, row, '|');) {
    const double t = std::stod(row);
    EXPECT_EQ(row.substr(row.find(' ') + 1), at(t)) << t;
  }
}

// Music off: the clock alone, the generator untouched. Music on: reseeded
// from demo time (microseconds, 2000 draws) every frame, and pulled 15 %
// of the way to the music each frame up to 1/30 s; longer frames close as
// much as the frames of 1/30 s in them would (at most a second's worth).
// Each row is a first frame: the lead it is drawn ahead by is its own step,
// but a stall's counts only up to a quarter second.
TEST_F(DirectorTest, DemoTimeFollowsTheClockAndIsPulledTowardsTheMusic) {
  controls.musicEnabled = false;
  seedRandom(1234);
  const int expected = nextRandom();
  seedRandom(1234);
  music.samples = 44100 * 10;  // would pull hard if it were read
  for (int i = 0; i < 50; ++i) EXPECT_EQ(frame(), FrameEnd::None);
  EXPECT_NEAR(state.demoTime, 1.0, 1e-12);
  EXPECT_DOUBLE_EQ(inputs.time, state.demoTime);
  EXPECT_EQ(nextRandom(), expected);
  EXPECT_EQ(ports.times.size(), 50u);
  controls.musicEnabled = true;
  for (auto [step, delta] : {std::pair{0.02, 0.17}, {1.0 / 30, 0.183333333333}, {0.1, 0.485875}, {2.0, 1.25572307}}) {
    state.stepsSeen = 0;
    state.demoTime = 2.0;
    music.samples = 3 * 44100;
    ports.step = step;
    frame();
    EXPECT_NEAR(state.frameDelta, delta, 1e-6) << step;
    EXPECT_DOUBLE_EQ(state.musicTime, 3.0);
  }
  state.demoTime = 1.25;
  music.samples = static_cast<uint32_t>(1.25 * 44100);
  frame();
  const int afterFrame = nextRandom();
  EXPECT_EQ(afterFrame, reseededAt(1.25));
  music.samples = 0x80000000u;  // above 2^31 samples is still positive
  music.rate = 1 << 20;
  frame();
  EXPECT_DOUBLE_EQ(state.musicTime, 2048.0);
  state.lastClock = ports.clock + 5.0;  // the clock reads less than last time: no step
  state.demoTime = 0.0;
  controls.musicEnabled = false;
  frame();
  EXPECT_EQ(state.frameDelta, 0.0);
}

// Frames of 50 ms, and a sound device that starts 0.4 s late: after the
// first second every frame is within 10 ms of the music heard when it is
// shown.
TEST_F(DirectorTest, SlowFramesCatchUpWithLateMusicWithinASecond) {
  controls.musicEnabled = true;
  ports.step = 0.05;
  auto heardAt = [](double wall) { return std::max(0.0, wall - 0.4); };
  int checked = 0;
  for (int k = 0; k < 60; ++k) {
    music.samples = static_cast<uint32_t>(heardAt(ports.clock + ports.step) * 44100.0);
    frame();
    if (state.demoTime < 1.0) continue;
    EXPECT_NEAR(state.demoTime, heardAt(ports.clock + ports.step), 0.010) << "frame " << k;
    ++checked;
  }
  EXPECT_GT(checked, 30);
}

// Each frame is shown one frame's time after its music is read. When the
// frames slow down from 50 to 100 ms, three frames later every frame is
// drawn for the music heard when it is shown again; one stalled frame of
// 400 ms in between does not throw the next ones off; demo time never runs
// backwards when they speed up again; and near the track's end no frame is
// drawn for music after it.
TEST_F(DirectorTest, FramesAreDrawnForTheMusicHeardWhenTheyAreShown) {
  controls.musicEnabled = true;
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

// The cue pulse restarts on every change (and every frame of a gap); the
// bounces are damped cosines of their own rates (by hand: cos(u) / (6.4 u +
// 1) at 0.5 s times 2, 1.55 and 0.9); the beat flash of an id-21 cue starts
// at 0.4125 and keeps its value outside. The camera comes from the cursor
// and the wheel; the arrows relax without overshoot, clamped to 1.
TEST_F(DirectorTest, InputsFollowTheCuePulseTheCursorAndTheArrows) {
  ports.step = 0.0;
  state.demoTime = 0.25;
  frame();  // the first lookup is a change
  EXPECT_EQ(state.cuePulse.startTime, 0.25);
  EXPECT_EQ(inputs.bounceA, 1.0);
  state.demoTime = 0.75;
  frame();
  EXPECT_NEAR(inputs.bounceA, 0.0730138251173, 1e-12);
  EXPECT_NEAR(inputs.bounceB, 0.119869301016, 1e-12);
  EXPECT_NEAR(inputs.bounceC, 0.232073995452, 1e-12);
  state.demoTime = 100.0;  // between cues
  frame();
  EXPECT_EQ(inputs.cueId, 0);
  EXPECT_EQ(inputs.bounceB, 1.0);
  EXPECT_EQ(state.cuePulse.startTime, 100.0);
  state.demoTime = 271.0;
  frame();
  EXPECT_EQ(inputs.cueId, 21);
  EXPECT_NEAR(inputs.beatFlash, 0.4125, 1e-8);
  state.demoTime = 271.06;  // (0.9 / (6.7 x 0.06 + 1) - 0.15) x 0.55
  frame();
  EXPECT_NEAR(inputs.beatFlash, 0.270567043797, 1e-8);
  state.demoTime = 500.0;
  frame();
  EXPECT_NEAR(inputs.beatFlash, 0.270567043797, 1e-8);
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
  for (auto [from, step, to] : {std::tuple{0.5, 1.0, 0.0}, {-3.0, 0.1, -1.0}, {0.5, 0.1, 0.355}}) {
    inputs.arrowVertical = from;
    ports.step = step;
    frame();
    EXPECT_NEAR(inputs.arrowVertical, to, 1e-12) << from << " over " << step;
  }
}

// The run ends on the first frame past 33.5 s, even in the middle of a
// fade; the fade takes 1.25 s at any frame rate, runs the volume down and
// starts with the end flash falling over its first quarter second.
TEST_F(DirectorTest, TheFadeTakesOneAndAQuarterSecondsAndTheRunEndsAfter33AndAHalf) {
  state.demoTime = 33.49;
  ports.step = 0.0;
  EXPECT_EQ(frame(), FrameEnd::None);
  ports.step = 0.02;
  EXPECT_EQ(frame(), FrameEnd::RunOver);
  EXPECT_GT(state.demoTime, 33.5);
  for (double start : {5.0, 33.0}) {
    DirectorState s;
    s.demoTime = start;
    ScriptedPorts p;
    p.step = 0.01;
    FakeMusic m;
    m.samples = uint32_t(start * 44100);
    FrameControls c{.musicEnabled = true, .endRequested = true, .endStartTime = start};
    FrameEnd end = FrameEnd::None;
    while (end == FrameEnd::None) {
      m.samples += 441;  // the music keeps pace with the clock
      end = runFrame(s, timeline, inputs, c, p, p, &m);
    }
    EXPECT_EQ(end, start == 5.0 ? FrameEnd::FadedOut : FrameEnd::RunOver);
    if (start == 33.0) {
      EXPECT_LT(p.overlays.back(), 0.5);
      continue;
    }
    EXPECT_NEAR(s.demoTime - 5.0, 1.25, 0.011);
    ASSERT_FALSE(m.volumes.empty());
    EXPECT_GE(m.volumes.front(), 252);
    EXPECT_EQ(m.volumes.back(), 0);
    EXPECT_TRUE(std::is_sorted(m.volumes.rbegin(), m.volumes.rend()));
    EXPECT_EQ(inputs.endFlash, 0.0);
  }
  for (double step : {0.001, 0.05, 0.125}) {
    DirectorState s;
    ScriptedPorts p;
    p.step = step;
    FrameControls c{.endRequested = true};
    runFrame(s, timeline, inputs, c, p, p, nullptr);
    if (step == 0.125) {
      EXPECT_NEAR(inputs.endFlash, 0.5, 1e-6);  // x = 0.1, 5x = 0.5
    }
    while (runFrame(s, timeline, inputs, c, p, p, nullptr) == FrameEnd::None) {
      if (step == 0.125) {
        EXPECT_EQ(inputs.endFlash, 0.0);
      }
    }
    EXPECT_NEAR(s.demoTime, 1.25, step + 1e-9) << step;
  }
}

TEST(FrameGrid, TimesAreIndexOverRateAndCountTheFramesBeforeTheEnd) {
  EXPECT_EQ(FrameGrid(0.0, 30).time(7), 7.0 / 30);
  EXPECT_EQ(FrameGrid(0.0, 30).framesBefore(33.5), 1005);              // ceil(33.5 x 30)
  EXPECT_EQ(FrameGrid(5.1, 10).time(4), FrameGrid(0.0, 10).time(55));  // a decimal start meets the run from 0
  EXPECT_EQ(FrameGrid(5.0, 10).framesBefore(6.0), 10);
  EXPECT_DOUBLE_EQ(FrameGrid(1.234, 4).time(2), 1.734);  // off the grid: the start's offset kept
  EXPECT_EQ(FrameGrid(1.234, 4).framesBefore(2.0), 4);   // 1.234, 1.484, 1.734, 1.984
  EXPECT_EQ(FrameGrid(1.234, 4).framesBefore(1.0), 0);
}

// A fixed step lands exactly on every grid time and ignores the music (yet
// reseeds from demo time); starting late gives the same frames as a run
// from 0, whatever came before.
TEST_F(DirectorTest, FixedStepsLandOnTheGridAndAStartLateMeetsTheRunFromZero) {
  controls.musicEnabled = true;
  music.samples = 44100 * 20;
  FixedStepClock clock(FrameGrid(0.0, 30));
  for (int n = 0; n < 900; ++n) {
    runFrame(state, timeline, inputs, controls, ports, clock, &music);
    ASSERT_EQ(state.demoTime, n / 30.0) << n;
  }
  EXPECT_TRUE(ports.times.front() == 0.0 && state.musicTime == 0.0);  // at the start itself; nothing heard read
  const int drawn = nextRandom();
  EXPECT_EQ(drawn, reseededAt(898 / 30.0));
  controls.musicEnabled = false;
  for (const int fps : {2, 30}) {
    const double start = 17.5;  // past the cue change at 0 and the part's speed-up at 16.8
    DirectorState fromZero, late;
    Timeline timelineA, timelineB;
    timelineA.fill();
    FrameInputs inputsA, inputsB;
    ScriptedPorts whole, skipped, drawnLate;
    FixedStepClock clockA(FrameGrid(0.0, fps)), clockB(FrameGrid(start, fps));
    for (int64_t n = 0; n < FrameGrid(0.0, fps).framesBefore(start) + 3; ++n)
      runFrame(fromZero, timelineA, inputsA, controls, whole, clockA, nullptr);
    late.demoTime = 99.0;
    catchUpTo(start, fps, late, timelineB, inputsB, controls, skipped);
    EXPECT_LT(late.demoTime, start);
    drawnLate.partClock = skipped.partClock;
    for (int n = 0; n < 3; ++n) runFrame(late, timelineB, inputsB, controls, drawnLate, clockB, nullptr);
    EXPECT_EQ(drawnLate.times, std::vector<double>(whole.times.end() - 3, whole.times.end())) << fps;
    EXPECT_EQ(drawnLate.bounces, std::vector<double>(whole.bounces.end() - 3, whole.bounces.end())) << fps;
    EXPECT_EQ(drawnLate.times[0], start);
    EXPECT_EQ(drawnLate.partClock, whole.partClock) << fps;
    EXPECT_EQ(late.cuePulse.startTime, fromZero.cuePulse.startTime) << fps;
  }
}
}  // namespace
