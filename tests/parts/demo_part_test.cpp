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

using DemoPartTest = GlSuite<>;

// The part's clock runs at the rate part_clock gives, a frame of no time
// counted but moving nothing, nothing drawn after 34.2 s; the bracket puts
// back what the part changed and points the application at the frame; a
// set-up starts the clock again and keeps one copy of the event times.
TEST_F(DemoPartTest, TheClockRunsAtItsRateTheBracketRestoresTheStateAndNothingIsDrawnAfterTheEnd) {
  CountingPart part;
  FrameInputs inputs;
  inputs.bounceA = 0.25;
  auto app = std::make_unique<DemoApp>();
  auto play = [&](double delta, int frames, DemoApp* on = nullptr) {
    for (int i = 0; i < frames; ++i) part.drawFrame(&delta, nullptr, on, &inputs);
  };
  part.setUp(nullptr);
  play(0.1, 167);
  play(0.1, 1, app.get());
  EXPECT_NEAR(part.partTime, 16.8, 1e-9);
  EXPECT_EQ(part.frameCount, 168);
  EXPECT_EQ(part.drawn, 168);
  GLfloat clear[4] = {};
  GLint depth = -1;
  glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
  glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
  EXPECT_TRUE(app->inputs == &inputs && part.frameInputs.bounceA == 0.25);
  EXPECT_TRUE(!glIsEnabled(GL_BLEND) && clear[0] == 0.0f && depth == 0);
  play(0.0, 1);
  EXPECT_NEAR(part.partTime, 16.8, 1e-9);
  EXPECT_EQ(part.frameCount, 169);
  for (double from : {21.8, 28.0}) {  // the first ramp complete, then both
    part.timeAccumulator = part.partTime = from;
    play(0.01, 1);
    EXPECT_NEAR(part.partTime - from, partClockRate(from, -0.6) * 0.01, 1e-12) << from;
  }
  part.timeAccumulator = part.partTime = 34.19;
  play(0.01, 10);
  const int frozen = part.frameCount, drawn = part.drawn;
  EXPECT_GT(part.partTime, DemoPart::kPartEndTime);
  play(0.01, 10);
  EXPECT_EQ(part.frameCount, frozen);
  EXPECT_EQ(part.drawn, drawn);
  seedRandom(77);
  part.setUp(nullptr);
  EXPECT_TRUE(part.partTime == 0.0 && part.frameCount == 0);
  EXPECT_EQ(part.eventTimes, (std::vector<double>{12.3, 16.2}));
  for (uint8_t letter : part.randomLetters) EXPECT_TRUE(letter >= 64 && letter <= 89);
  CountingPart again;
  seedRandom(77);
  again.setUp(nullptr);
  EXPECT_EQ(again.randomLetters, part.randomLetters);  // from the demo's own generator
}
}  // namespace
