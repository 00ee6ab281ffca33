// The opening and closing effects drawn for real, under the camera the
// parts fly at those times, with the pictures and traced outlines of the
// part's set-up.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "demo/demo_app.h"
#include "effects/closing_effect.h"
#include "effects/effect_frame.h"
#include "effects/line_batch.h"
#include "effects/look_at_camera.h"
#include "effects/opening_effect.h"
#include "gl_call_counter.h"
#include "gl_test_context.h"
#include "parts/camera_programme.h"
#include "parts/part_beta.h"

namespace {
constexpr int kWidth = 800, kHeight = 600;

class LineEffectsTest : public ::testing::Test {
 protected:
  // The pictures and traced outlines the effects read, from the part's own
  // set-up on the generated data.
  static void SetUpTestSuite() {
    ASSERT_TRUE(gl.open(kWidth, kHeight)) << gl.error();
    ASSERT_TRUE(gl.makeCurrent());
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(VELMORA_BINARY_DIR "/data");
    part->setUp(app.get());
    std::filesystem::current_path(here);
    ASSERT_FALSE(app->textures.loadingFailed()) << "the generated data is missing under " VELMORA_BINARY_DIR "/data";
  }
  static void TearDownTestSuite() { part.reset(), app.reset(), gl.close(); }

  // The frame as the choreography leaves it for these layers (the camera's
  // view, additive blending, depth writes off); the draw calls it made and
  // the picture, lit pixel by pixel.
  static int draw(bool opening, bool shader, double t, std::vector<bool>* lit = nullptr) {
    glViewport(0, 0, kWidth, kHeight);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(75.0, 1.0, clipPlanesAt(t).nearPlane, clipPlanesAt(t).farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    runCameraProgramme(t, app->camera);
    lookAtCamera(*app);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glDepthMask(GL_FALSE);
    resetGlDrawCounts();
    const EffectFrame frame{.time = t, .textureBase = 0, .app = *app, .lines = lines, .outlines = part->outlinePaths};
    if (opening) drawOpeningEffect(shader ? kOpeningShaderLook : kOpeningFixedLook, frame);
    if (!opening) drawClosingEffect(shader ? kClosingShaderLook : kClosingFixedLook, frame);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    std::vector<unsigned char> rgb(size_t(kWidth * kHeight * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    std::vector<bool> mask(rgb.size() / 3);
    for (size_t i = 0; i < mask.size(); ++i) mask[i] = rgb[3 * i] + rgb[3 * i + 1] + rgb[3 * i + 2] > 0;
    if (lit) *lit = mask;
    return glDrawCounts().arrayDraws + glDrawCounts().begins;
  }

  static inline GlTestContext gl;
  static inline std::unique_ptr<DemoApp> app = std::make_unique<DemoApp>();
  static inline std::unique_ptr<PartBeta> part = std::make_unique<PartBeta>();
  static inline LineBatch lines;
};

// Each effect keeps to its own time, whatever window the caller opens (the
// opening until 10 s inclusive, the closing only after 28 s), and puts back
// the state it changes.
TEST_F(LineEffectsTest, EachEffectDrawsOnlyInItsOwnTimeAndRestoresTheState) {
  for (bool shader : {true, false})
    for (auto [opening, t, draws] : {std::tuple{true, 10.0, true},
                                     {true, 10.0001, false},
                                     {false, 9.0, false},
                                     {false, 28.0, false},
                                     {false, 28.5, true}}) {
      SCOPED_TRACE(std::to_string(t) + (shader ? " shader" : " fixed"));
      std::vector<bool> lit;
      EXPECT_EQ(draw(opening, shader, t, &lit) > 0, draws);
      EXPECT_EQ(std::count(lit.begin(), lit.end(), true) > 0, draws);
      if (t == 10.0) {
        EXPECT_GT(glDrawCounts().arrayDraws, 0);  // the ribbons are still out at its end
      }
      GLint depth = 0, src = 0;
      glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
      glGetIntegerv(GL_BLEND_SRC, &src);
      EXPECT_EQ(depth, 1);
      EXPECT_EQ(src, GL_ONE);
      EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
