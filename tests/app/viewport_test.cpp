#include <gtest/gtest.h>

#include <GL/gl.h>
#include <SDL.h>

#include <cmath>

#include "app/gl_shell.h"

namespace {
// A real GL context on the test display.
class ViewportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    window = SDL_CreateWindow("viewport test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window, nullptr) << SDL_GetError();
    context = SDL_GL_CreateContext(window);
    ASSERT_NE(context, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    if (context != nullptr) SDL_GL_DeleteContext(context);
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }
  static std::array<double, 16> matrix(GLenum which) {
    std::array<double, 16> m{};
    glGetDoublev(which, m.data());
    return m;
  }
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
};

TEST_F(ViewportTest, SetsViewportAndA45DegreePerspective) {
  resizeViewport(800, 600);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[2], 800);
  EXPECT_EQ(viewport[3], 600);
  // GL keeps matrices in single precision.
  const auto p = matrix(GL_PROJECTION_MATRIX);
  const double f = 1.0 / std::tan(22.5 * M_PI / 180.0);
  EXPECT_NEAR(p[5], f, 1e-6);
  EXPECT_NEAR(p[0], f / (800.0 / 600.0), 1e-6);
  const double n = static_cast<double>(0.1f);
  EXPECT_NEAR(p[10], (100.0 + n) / (n - 100.0), 1e-6);
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_MODELVIEW);
  const auto mv = matrix(GL_MODELVIEW_MATRIX);
  EXPECT_EQ(mv[0], 1.0);
  EXPECT_EQ(mv[12], 0.0);
}

TEST_F(ViewportTest, ZeroHeightCountsAsOne) {
  resizeViewport(640, 0);
  GLint viewport[4] = {};
  glGetIntegerv(GL_VIEWPORT, viewport);
  EXPECT_EQ(viewport[3], 1);
  for (double v : matrix(GL_PROJECTION_MATRIX)) EXPECT_TRUE(std::isfinite(v));
  EXPECT_NEAR(matrix(GL_PROJECTION_MATRIX)[0], 1.0 / std::tan(22.5 * M_PI / 180.0) / 640.0, 1e-6);
}
}  // namespace
