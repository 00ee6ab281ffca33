#include <gtest/gtest.h>

#include <cmath>

#include "app/gl_shell.h"
#include "gl_test_context.h"

namespace {
std::array<double, 16> matrix(GLenum which) {
  std::array<double, 16> m{};
  glGetDoublev(which, m.data());
  return m;
}

using ViewportTest = GlSuite<>;

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
