#include "gpu/offscreen_target.h"

#include <array>
#include <vector>

#include "gl_test_context.h"
#include "gpu/gl_entry_points.h"

namespace {

class OffscreenTargetTest : public GlSuite<> {
 protected:
  void SetUp() override {
    GlSuite::SetUp();
    std::string error;
    ASSERT_TRUE(createOffscreenTarget(target, error)) << error;
  }
  void TearDown() override { destroyOffscreenTarget(target); }

  static std::array<float, 4> floats4(GLenum what) {
    std::array<float, 4> v{};
    glGetFloatv(what, v.data());
    return v;
  }
  static std::array<int, 4> ints4(GLenum what) {
    std::array<int, 4> v{};
    glGetIntegerv(what, v.data());
    return v;
  }
  static float matrixTranslationX(GLenum which) {
    float m[16];
    glGetFloatv(which, m);
    return m[12];
  }
  static GLuint blackTexture(int size) {
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    const std::vector<std::uint8_t> black(std::size_t(size) * size * 3, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, size, size, 0, GL_RGB, GL_UNSIGNED_BYTE, black.data());
    return t;
  }
  static std::vector<std::uint8_t> texels(GLuint t, int size) {
    std::vector<std::uint8_t> out(std::size_t(size) * size * 3);
    glBindTexture(GL_TEXTURE_2D, t);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
  }

  OffscreenTarget target;
};

TEST_F(OffscreenTargetTest, EachTargetKeepsItsOwnClearColourMatricesAndEnables) {
  EXPECT_EQ(target.windowRC, gl.context());
  EXPECT_EQ(target.windowDC, gl.window());
  EXPECT_NE(target.pbufferRC, nullptr);
  EXPECT_NE(target.pbufferRC, target.windowRC);

  // The window context after creation: the state copies and reads rely on.
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_FALSE(glIsEnabled(GL_DITHER));
  GLint packAlignment = 0;
  glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
  EXPECT_EQ(packAlignment, 4);

  glClearColor(1, 0, 0, 1);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(3, 0, 0);
  glEnable(GL_BLEND);

  ASSERT_TRUE(makePbufferCurrent(target));
  EXPECT_EQ(floats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0, 0, 0, 0}));
  EXPECT_EQ(matrixTranslationX(GL_MODELVIEW_MATRIX), 0.0f);
  EXPECT_FALSE(glIsEnabled(GL_BLEND));
  EXPECT_EQ(ints4(GL_VIEWPORT), (std::array<int, 4>{0, 0, 1024, 1024}));
  GLint depthBits = 0, stencilBits = 0, redBits = 0, alphaBits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  glGetIntegerv(GL_STENCIL_BITS, &stencilBits);
  glGetIntegerv(GL_RED_BITS, &redBits);
  glGetIntegerv(GL_ALPHA_BITS, &alphaBits);
  EXPECT_EQ(depthBits, 24);
  EXPECT_EQ(stencilBits, 8);
  EXPECT_EQ(redBits, 8);
  EXPECT_EQ(alphaBits, 8);
  glClearColor(0, 0, 1, 1);
  glEnable(GL_DEPTH_TEST);
  glTranslatef(-7, 0, 0);

  ASSERT_TRUE(makeWindowCurrent(target));
  EXPECT_EQ(floats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{1, 0, 0, 1}));
  EXPECT_EQ(matrixTranslationX(GL_MODELVIEW_MATRIX), 3.0f);
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_EQ(ints4(GL_VIEWPORT), (std::array<int, 4>{0, 0, kSize, kSize}));

  // And back again: the offscreen side still has what it was given.
  ASSERT_TRUE(makePbufferCurrent(target));
  EXPECT_EQ(floats4(GL_COLOR_CLEAR_VALUE), (std::array<float, 4>{0, 0, 1, 1}));
  EXPECT_EQ(matrixTranslationX(GL_MODELVIEW_MATRIX), -7.0f);
  EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
  ASSERT_TRUE(makeWindowCurrent(target));
  glDisable(GL_BLEND);
}

// Copies from the whole 1024 x 1024 surface into textures made on the
// window side (the contexts share them); an 800-wide copy is 600 rows high.
TEST_F(OffscreenTargetTest, CopiesReachSharedTexturesAndAnEightHundredWideCopyIs600RowsHigh) {
  struct Case {
    int width, height, rows;
  };
  const Case cases[] = {{1024, 1024, 1024}, {800, 100, 600}, {800, 1000, 600}, {640, 100, 100}, {320, 240, 240}};
  std::vector<GLuint> textures;
  for (std::size_t k = 0; k < std::size(cases); ++k) textures.push_back(blackTexture(1024));
  ASSERT_TRUE(makePbufferCurrent(target));
  glClearColor(1, 1, 1, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  std::uint8_t corner[4] = {};
  glReadPixels(1023, 1023, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, corner);
  EXPECT_EQ(corner[0], 255);  // beyond the 64 x 64 window: the surface's own pixels
  for (std::size_t k = 0; k < std::size(cases); ++k)
    copyFramebufferToTexture(textures[k], cases[k].width, cases[k].height);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  ASSERT_TRUE(makeWindowCurrent(target));
  EXPECT_EQ(pixel(10, 10), (std::array<int, 3>{0, 0, 0}));  // the window was not drawn on
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    const std::vector<std::uint8_t> t = texels(textures[k], 1024);
    auto lit = [&](int x, int y) { return x < 1024 && y < 1024 && t[(std::size_t(y) * 1024 + x) * 3] == 255; };
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    EXPECT_TRUE(lit(0, 0));
    EXPECT_TRUE(lit(c.width - 1, c.rows - 1));
    EXPECT_FALSE(lit(c.width, 0));
    EXPECT_FALSE(lit(0, c.rows));
  }
  glDeleteTextures(GLsizei(textures.size()), textures.data());
}

TEST_F(OffscreenTargetTest, UploadedRgbPixelsOfAnyWidthArriveUnskewed) {
  GLuint texture = 0;
  glGenTextures(1, &texture);
  std::vector<std::uint8_t> pixels(5 * 3 * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = std::uint8_t(i * 5);
  uploadRgbTexture(texture, 5, 3, pixels.data());
  GLint width = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 5);
  std::vector<std::uint8_t> back(pixels.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, back.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  EXPECT_EQ(back, pixels);
  glDeleteTextures(1, &texture);
}

TEST(OffscreenTargetWithoutContext, FailsAndLeavesNothingBehind) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
  SDL_GL_MakeCurrent(nullptr, nullptr);
  OffscreenTarget target;
  std::string error;
  EXPECT_FALSE(createOffscreenTarget(target, error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(target.pbufferRC, nullptr);
  EXPECT_EQ(target.windowRC, nullptr);
  EXPECT_FALSE(makePbufferCurrent(target));
}

}  // namespace

namespace {

// A pass that unbinds the surface's framebuffer in its context (to read the
// window) must not leave the next pass drawing into the window.
TEST_F(OffscreenTargetTest, SwitchingToTheSurfaceBindsItsFramebufferAgain) {
  ASSERT_TRUE(makePbufferCurrent(target));
  glExtensionTable.glBindFramebuffer(GL_FRAMEBUFFER, 0);
  ASSERT_TRUE(makeWindowCurrent(target));
  ASSERT_TRUE(makePbufferCurrent(target));
  GLint bound = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(GLuint(bound), target.pbuffer);
  makeWindowCurrent(target);
}

}  // namespace
