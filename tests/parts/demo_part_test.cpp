#include <gtest/gtest.h>

#include <memory>

#include "demo/demo_app.h"
#include "gl_test_context.h"
#include "math/random.h"
#include "parts/demo_part.h"
#include "parts/part_clock.h"

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
  // The fixture set this part up once already: a second set-up keeps one
  // copy of the event times.
  EXPECT_EQ(part.eventTimes, (std::vector<double>{12.3, 16.2}));
  CountingPart again;
  seedRandom(77);
  again.setUp(nullptr);
  EXPECT_EQ(again.randomLetters, part.randomLetters);
}

// The part's clock in drawn frames runs at the rate part_clock gives, and
// a frame of no time is counted but moves nothing.
TEST_F(DemoPartTest, PartTimeRunsAtTheClockRateAndAZeroDeltaKeepsIt) {
  play(0.1, 168);
  EXPECT_NEAR(part.partTime, 16.8, 1e-9);
  EXPECT_EQ(part.frameCount, 168);
  EXPECT_EQ(part.drawn, 168);
  const double before = part.partTime;
  play(0.0, 1);
  EXPECT_EQ(part.partTime, before);
  EXPECT_EQ(part.frameCount, 169);
  for (double from : {21.8, 28.0}) {  // the first ramp complete, then both
    part.timeAccumulator = part.partTime = from;
    play(0.01, 1);
    EXPECT_NEAR(part.partTime - from, partClockRate(from, -0.6) * 0.01, 1e-12) << from;
  }
}

TEST_F(DemoPartTest, TheFrameBracketRestoresWhatThePartChangedAndPointsTheApplicationAtTheFrame) {
  auto app = std::make_unique<DemoApp>();
  inputs.bounceA = 0.25;
  double delta = 0.1;
  part.drawFrame(&delta, nullptr, app.get(), &inputs);
  EXPECT_EQ(app->inputs, &inputs);
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
