#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <vector>

#include "choreography/mesh_layers.h"
#include "choreography/point_layers.h"
#include "choreography/rendition.h"
#include "choreography/scene_frame.h"
#include "demo/demo_app.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "math/random.h"

namespace {
constexpr int kSize = 128;

// The layers drawn for real, under a perspective like the demo's and the
// application's camera.
class LayerDrawingTest : public GlSuite<kSize> {
 protected:
  // A white picture under texture number `number`; a spare name made first,
  // so neighbouring numbers never get neighbouring names.
  void whiteTexture(int number) {
    GLuint spare = 0;
    glGenTextures(1, &spare);
    app->textures.textures[size_t(number)] = rgbTexture(1, 1, {255, 255, 255});
  }

  void look(CameraView camera) {
    app->camera = camera;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(75.0, 1.0, 0.1, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(camera.eye.x, camera.eye.y, camera.eye.z, camera.centre.x, camera.centre.y, camera.centre.z, camera.up.x,
              camera.up.y, camera.up.z);
  }

  SceneFrame frameAt(double T) { return SceneFrame{*app, fixedFunctionRendition(), T, 1.0 / 60, {}, {}}; }

  std::unique_ptr<DemoApp> app = std::make_unique<DemoApp>();
};

// Layer 8 is one batch, and the same part time twinkles the same however
// the generator was left.
TEST_F(LayerDrawingTest, TwinklingPointsAreOneBatchLaidOutAlikeAtOneTime) {
  whiteTexture(app->textures.textureBase + 9);
  std::vector<FlagVec3> points;
  for (int k = 0; k < 1000; ++k) points.push_back(FlagVec3{1, -2.0f + 0.004f * k, -12.0f, 0.5f + 0.005f * (k % 997)});
  look(CameraView{FlagVec3{1, 0, -16, 5}, FlagVec3{1, 0, -12, 5}, FlagVec3{1, 0, 0, 1}});
  auto draw = [&](double T) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SceneFrame frame = frameAt(T);
    frame.assets.surfacePoints = points;
    resetGlDrawCounts();
    drawTwinklingPoints(frame);
    EXPECT_EQ(glDrawCounts().begins, 1);
    return windowRgb();
  };
  const auto first = draw(12.0);
  EXPECT_GT(litPixels(first), 50);
  seedRandom(4242);
  EXPECT_EQ(draw(12.0), first);
  EXPECT_NE(draw(12.5), first);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// Layer 1's nine copies land in the same places every frame at one time.
TEST_F(LayerDrawingTest, TheScatteredCopiesAreDrawnAlikeAtOneTime) {
  char here[4096];
  ASSERT_NE(getcwd(here, sizeof here), nullptr);
  ASSERT_EQ(chdir(VELMORA_BINARY_DIR "/data"), 0) << "the generated data folder";
  app->loadScene(0, 1.0, "meshes/man.3ds");
  ASSERT_EQ(chdir(here), 0);
  ASSERT_GT(app->scene(0)->objectCount(), 0);
  whiteTexture(124);
  look(CameraView{FlagVec3{1, 0, -24, 60}, FlagVec3{1, 0, -24, -40}, FlagVec3{1, 0, 1, 0}});
  auto draw = [&](double T) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SceneFrame frame = frameAt(T);
    resetGlDrawCounts();
    drawManCopies(frame);
    return std::pair{windowRgb(), glDrawCounts().indexCounts};
  };
  const auto [first, counts] = draw(12.0);
  EXPECT_GT(litPixels(first), 20);
  EXPECT_FALSE(counts.empty());
  seedRandom(777);
  for (int k = 0; k < 5; ++k) random01();
  const auto [second, countsAgain] = draw(12.0);
  EXPECT_EQ(second, first);
  EXPECT_EQ(countsAgain, counts);
  // Later, the copies have moved.
  EXPECT_NE(draw(12.4).first, first);
  EXPECT_EQ(app->meshDraw.faceFraction, 1.0f);
}
}  // namespace
