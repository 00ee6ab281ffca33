#include <gtest/gtest.h>

#include <vector>

#include "director/frame_driver.h"
#include "director/step_clock.h"
#include "math/random.h"

namespace {
// Frames that record what the part was handed, as a part's clock sees them.
struct RecordingPorts final : FramePorts {
  double partClock = 0.0;
  std::vector<double> times;
  std::vector<double> bounces;
  void cursorPosition(int& x, int& y) override {
    x = 400;
    y = 300;
  }
  void beginFrame() override {}
  void drawPart(double& frameDelta, FrameInputs& inputs) override {
    partClock += frameDelta;
    times.push_back(inputs.time);
    bounces.push_back(inputs.bounceA);
  }
  void drawFadeOverlay(double) override {}
};

struct FarAwayMusic final : MusicChannel {
  uint32_t position() override { return 44100 * 20; }
  int frequency() override { return 44100; }
  void setVolume(int) override {}
};

TEST(FrameGrid, TimesAreIndexOverRateAndCountTheFramesBeforeTheEnd) {
  const FrameGrid fromZero(0.0, 30);
  EXPECT_EQ(fromZero.time(0), 0.0);
  EXPECT_EQ(fromZero.time(7), 7.0 / 30);
  EXPECT_EQ(fromZero.framesBefore(33.5), 1005);  // ceil(33.5 x 30)
  // A decimal start on the grid meets the run from 0 on the same values.
  const FrameGrid late(5.1, 10);
  EXPECT_EQ(late.time(0), FrameGrid(0.0, 10).time(51));
  EXPECT_EQ(late.time(4), FrameGrid(0.0, 10).time(55));
  EXPECT_EQ(FrameGrid(5.0, 10).framesBefore(6.0), 10);
  // Off the grid: the frames keep the start's offset.
  const FrameGrid off(1.234, 4);
  EXPECT_DOUBLE_EQ(off.time(2), 1.734);
  EXPECT_EQ(off.framesBefore(2.0), 4);  // 1.234, 1.484, 1.734, 1.984
  EXPECT_EQ(off.framesBefore(1.0), 0);
}

TEST(FixedStepClock, DemoTimeLandsExactlyOnEveryGridTimeAndIgnoresTheMusic) {
  DirectorState state;
  Timeline timeline;
  timeline.fill();
  FrameInputs inputs;
  FrameControls controls;
  controls.musicEnabled = true;
  RecordingPorts ports;
  FarAwayMusic music;
  FixedStepClock clock(FrameGrid(0.0, 30));
  for (int n = 0; n < 900; ++n) {
    runFrame(state, timeline, inputs, controls, ports, clock, &music);
    ASSERT_EQ(state.demoTime, n / 30.0) << n;
  }
  EXPECT_EQ(ports.times.front(), 0.0);  // the first frame is at the start itself
  EXPECT_EQ(state.musicTime, 0.0);      // nothing heard was read
  // Music on still means a generator seeded from demo time.
  const int drawn = nextRandom();
  seedRandom(static_cast<uint32_t>(static_cast<int64_t>((898 / 30.0) * 1000000.0)));
  for (int i = 0; i < 2000; ++i) nextRandom();
  EXPECT_EQ(drawn, nextRandom());
}

TEST(CatchUp, StartingLateGivesTheSameFramesAsARunFromZero) {
  for (const int fps : {2, 30}) {
    SCOPED_TRACE(fps);
    const double start = 17.5;  // past the cue change at 0 and the part's speed-up at 16.8
    DirectorState fromZero;
    Timeline timelineA;
    timelineA.fill();
    FrameInputs inputsA;
    FrameControls controls;
    RecordingPorts whole;
    FixedStepClock clockA(FrameGrid(0.0, fps));
    const int64_t frames = FrameGrid(0.0, fps).framesBefore(start) + 3;
    for (int64_t n = 0; n < frames; ++n) runFrame(fromZero, timelineA, inputsA, controls, whole, clockA, nullptr);

    DirectorState late;
    late.demoTime = 99.0;  // whatever came before is forgotten
    Timeline timelineB;
    FrameInputs inputsB;
    RecordingPorts skipped;
    catchUpTo(start, fps, late, timelineB, inputsB, controls, skipped);
    EXPECT_LT(late.demoTime, start);
    RecordingPorts drawn;
    drawn.partClock = skipped.partClock;
    FixedStepClock clockB(FrameGrid(start, fps));
    for (int n = 0; n < 3; ++n) runFrame(late, timelineB, inputsB, controls, drawn, clockB, nullptr);

    const size_t first = whole.times.size() - 3;
    for (size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(drawn.times[i], whole.times[first + i]);
      EXPECT_EQ(drawn.bounces[i], whole.bounces[first + i]);
    }
    EXPECT_EQ(drawn.times[0], start);
    EXPECT_EQ(drawn.partClock, whole.partClock);
    EXPECT_EQ(late.cuePulse.startTime, fromZero.cuePulse.startTime);
  }
}
}  // namespace
