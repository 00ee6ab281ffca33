#include <gtest/gtest.h>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>

#include "effects/fade_overlay.h"
#include "gl_test_context.h"

namespace {
class FadeOverlayTest : public GlSuite<64> {
 protected:
  static void fill() {
    glClearColor(0.8f, 0.6f, 0.4f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  static bool everyPixelBelow(int limit) {
    for (unsigned char c : windowRgb())
      if (c > limit) return false;
    return true;
  }
};

// The Escape fade must end in black whatever a part or the loading screen
// left in the matrices: a pixel ortho, a perspective looking away, a texture
// matrix, culling with the quad's back towards the camera.
TEST_F(FadeOverlayTest, TheFullFadeIsBlackUnderAnyLeftoverViewAndKeepsTheMatrices) {
  using Leftover = void (*)();
  const Leftover leftovers[] = {
      [] { glOrtho(0, 800, 600, 0, -1, 1); },
      [] {
        gluPerspective(75.0, 1.0, 0.01, 180.0);
        glMatrixMode(GL_MODELVIEW);
        gluLookAt(500, 0, 0, 600, 0, 0, 0, 0, 1);
        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT_AND_BACK);
      },
  };
  for (Leftover leftover : leftovers) {
    resetState();
    glMatrixMode(GL_PROJECTION);
    leftover();
    GLdouble before[16], after[16];
    glGetDoublev(GL_PROJECTION_MATRIX, before);
    fill();
    drawFadeOverlay(1.0);
    EXPECT_TRUE(everyPixelBelow(0));
    glGetDoublev(GL_PROJECTION_MATRIX, after);
    EXPECT_TRUE(std::equal(before, before + 16, after));
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
  }

  resetState();
  fill();
  drawFadeOverlay(0.5);
  const auto half = pixel(kSize / 2, kSize / 2);
  EXPECT_NEAR(half[0], 102, 2);
  EXPECT_NEAR(half[2], 51, 2);
}
}  // namespace
