#include "passes/caustic_frames.h"
#include "demo/texture_numbers.h"

#include <unistd.h>
#include <cmath>
#include <limits>

#include "demo/demo_app.h"
#include "gl_test_context.h"
#include "passes/gl_state_helpers.h"

namespace {

TEST(CausticFrames, TheFrameStepsTwentyEightTimesASecondAndCyclesThroughSixteen) {
  const double step = 1.0 / 28.0;
  struct Case {
    double time;
    int frame;
  } cases[] = {
      {0.0, 100},
      {std::nextafter(step, 0.0), 100},       // just below the first step
      {std::nextafter(step, 1.0), 101},       // just above it
      {std::nextafter(15 * step, 0.0), 114},  // the last frame's step
      {std::nextafter(15 * step, 1.0), 115},  // the last frame
      {std::nextafter(16 * step, 1.0), 100},  // back to the first
      {10.0, 100 + 280 % 16},                 // 280 steps
      {33.5, 100 + 938 % 16},
      {1e12, 100 + int(std::fmod(2.8e13, 16.0))},  // far beyond an int's steps
      {-0.5, 100},                                 // before the part: the first frame
      {std::numeric_limits<double>::quiet_NaN(), 100},
  };
  for (const Case& c : cases) EXPECT_EQ(causticFrame(c.time), c.frame) << "t = " << c.time;
  EXPECT_EQ(causticFrame(std::nextafter(step, 1.0), 40), 41) << "another first number";
}

TEST(CausticFrames, FilesAreTheEvenNumbersFromZeroToThirty) {
  EXPECT_EQ(causticFrameFile(0), "textures/caust00.jpg");
  EXPECT_EQ(causticFrameFile(1), "textures/caust02.jpg");
  EXPECT_EQ(causticFrameFile(15), "textures/caust30.jpg");
}

using CausticFramesGl = GlSuite<>;

TEST_F(CausticFramesGl, SixteenPicturesLoadIntoConsecutiveNumbers) {
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  ASSERT_EQ(chdir(VELMORA_BINARY_DIR "/data"), 0) << "the generated data folder";
  auto app = std::make_unique<DemoApp>();
  loadCausticFrames(*app, kCausticFirstPicture);
  ASSERT_EQ(chdir(here), 0);
  ASSERT_FALSE(textureTable(*app).loadingFailed());
  EXPECT_EQ(textureTable(*app).name(kCausticFirstPicture - 1), 0u);
  EXPECT_EQ(textureTable(*app).name(kCausticFirstPicture + kCausticFrameCount), 0u);
  for (int k = 0; k < kCausticFrameCount; ++k) {
    EXPECT_NE(textureTable(*app).name(kCausticFirstPicture + k), 0u) << k;
    if (k > 0) {
      EXPECT_NE(textureTable(*app).name(kCausticFirstPicture + k),
                textureTable(*app).name(kCausticFirstPicture + k - 1));
    }
  }
}

}  // namespace
