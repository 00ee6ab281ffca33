#include <gtest/gtest.h>

#include <memory>

#include "demo/demo_app.h"
#include "gl_test_context.h"
#include "math/random.h"
#include "parts/demo_part.h"

namespace {
// A part that keeps the shared bookkeeping and, inside the bracket, changes
// GL state the bracket must restore.
class CountingPart final : public DemoPart {
 public:
  void setUp(DemoApp*) override { resetPartState(); }
  int drawn = 0;

 protected:
  void drawPartFrame(OffscreenTarget*, DemoApp*, FrameInputs*) override {
    ++drawn;
    glEnable(GL_BLEND);
    glClearColor(1, 0, 1, 1);
  }
};

class DemoPartTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    part.setUp(nullptr);
  }
  void play(double delta, int frames) {
    for (int i = 0; i < frames; ++i) part.drawFrame(&delta, nullptr, nullptr, &inputs);
  }
  CountingPart part;
  FrameInputs inputs;
};

TEST_F(DemoPartTest, SetUpStartsTheClockAndDrawsTheLettersFromTheDemosOwnGenerator) {
  part.timeAccumulator = part.partTime = 9.0;
  part.frameCount = 3;
  seedRandom(77);
  part.setUp(nullptr);
  EXPECT_EQ(part.partTime, 0.0);
  EXPECT_EQ(part.frameCount, 0);
  for (uint8_t letter : part.randomLetters) {
    EXPECT_GE(letter, 64);
    EXPECT_LE(letter, 89);
  }
  CountingPart again;
  seedRandom(77);
  again.setUp(nullptr);
  EXPECT_EQ(again.randomLetters, part.randomLetters);
}

TEST_F(DemoPartTest, TheApplicationPointsAtTheFrameBeingDrawn) {
  auto app = std::make_unique<DemoApp>();
  double delta = 0.02;
  part.drawFrame(&delta, nullptr, app.get(), &inputs);
  EXPECT_EQ(app->inputs, &inputs);
}

TEST_F(DemoPartTest, ASecondSetUpKeepsOneCopyOfTheEventTimes) {
  part.setUp(nullptr);
  EXPECT_EQ(part.eventTimes, (std::vector<double>{12.3, 16.2}));
}

TEST_F(DemoPartTest, PartTimeRunsAtDemoSpeedUntil16Point8) {
  play(0.1, 168);
  EXPECT_NEAR(part.partTime, 16.8, 1e-9);
  EXPECT_EQ(part.frameCount, 168);
  EXPECT_EQ(part.drawn, 168);
}

TEST_F(DemoPartTest, TheFrameBracketRestoresWhatThePartChanged) {
  inputs.bounceA = 0.25;
  play(0.1, 1);
  EXPECT_EQ(part.frameInputs.bounceA, 0.25);
  EXPECT_EQ(part.lastFrameDelta, 0.1);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  GLfloat clear[4] = {};
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  EXPECT_EQ(clear[0], 0.0f);
  GLint depth = -1;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 0);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(DemoPartTest, PartTimeSpeedsUpByATenthOverFiveSeconds) {
  part.timeAccumulator = part.partTime = 21.8;  // the first ramp is complete
  play(0.01, 1);
  EXPECT_NEAR(part.partTime - 21.8, 0.011, 1e-12);
  part.timeAccumulator = part.partTime = 28.0;  // both ramps complete
  play(0.01, 1);
  EXPECT_NEAR(part.partTime - 28.0, (1.1 - 0.6 * 0.03) * 0.01, 1e-12);
}

TEST_F(DemoPartTest, ZeroDeltaCountsTheFrameButKeepsTheTime) {
  play(0.5, 3);
  const double before = part.partTime;
  play(0.0, 1);
  EXPECT_EQ(part.partTime, before);
  EXPECT_EQ(part.frameCount, 4);
}

TEST_F(DemoPartTest, NothingIsDrawnAfter34Point2) {
  part.timeAccumulator = part.partTime = 34.19;
  play(0.001, 5);
  const int counted = part.frameCount;
  play(0.01, 10);
  EXPECT_GT(part.partTime, DemoPart::kPartEndTime);
  EXPECT_LE(part.frameCount, counted + 1);
  const int frozen = part.frameCount;
  const int drawn = part.drawn;
  play(0.01, 10);
  EXPECT_EQ(part.frameCount, frozen);
  EXPECT_EQ(part.drawn, drawn);
  GLint depth = -1;
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
  EXPECT_EQ(depth, 0);
}

}  // namespace
