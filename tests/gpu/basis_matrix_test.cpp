#include "gpu/basis_matrix.h"

#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

namespace {

// A hidden window with a compatibility context, for the length of the suite.
class BasisMatrixTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    window_ = SDL_CreateWindow("basis matrix test", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    ASSERT_NE(window_, nullptr) << SDL_GetError();
    context_ = SDL_GL_CreateContext(window_);
    ASSERT_NE(context_, nullptr) << SDL_GetError();
  }

  // No SDL_Quit: it unloads the GL driver, whose few allocations still
  // live at exit would then be reported as leaks of an unknown module.
  static void TearDownTestSuite() {
    if (context_) SDL_GL_DeleteContext(context_);
    if (window_) SDL_DestroyWindow(window_);
    context_ = nullptr;
    window_ = nullptr;
  }

  void SetUp() override {
    ASSERT_NE(context_, nullptr);
    for (GLenum mode : {GL_TEXTURE, GL_MODELVIEW}) {
      glMatrixMode(mode);
      glLoadIdentity();
    }
  }

  static void read(GLenum which, GLfloat (&m)[16]) { glGetFloatv(which, m); }

  static inline SDL_Window* window_ = nullptr;
  static inline SDL_GLContext context_ = nullptr;
};

// Column-major, with a translation and a non-trivial bottom row.
constexpr GLfloat kStart[16] = {9, 9, 9, 0.25f, 9, 9, 9, 0.5f, 9, 9, 9, 0.75f, 3, 4, 5, 2};

TEST_F(BasisMatrixTest, ReplacesTheBasisAndKeepsTranslationAndBottomRow) {
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(kStart);
  loadBasisMatrix(FlagVec3{0, 1, 2, 3}, FlagVec3{2, 4, 5, 6}, FlagVec3{1, 7, 8, 9});
  GLfloat m[16];
  read(GL_TEXTURE_MATRIX, m);
  const GLfloat expected[16] = {1, 2, 3, 0.25f, 4, 5, 6, 0.5f, 7, 8, 9, 0.75f, 3, 4, 5, 2};
  for (int k = 0; k < 16; ++k) EXPECT_EQ(m[k], expected[k]) << "element " << k;
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BasisMatrixTest, LoadsIntoWhicheverStackIsCurrent) {
  glMatrixMode(GL_TEXTURE);
  glLoadMatrixf(kStart);
  glMatrixMode(GL_MODELVIEW);
  loadBasisMatrix(FlagVec3{1, 1, 0, 0}, FlagVec3{1, 0, 1, 0}, FlagVec3{1, 0, 0, 1});
  GLfloat modelview[16], texture[16];
  read(GL_MODELVIEW_MATRIX, modelview);
  read(GL_TEXTURE_MATRIX, texture);
  // Translation and bottom row come from the texture matrix that was read.
  const GLfloat expected[16] = {1, 0, 0, 0.25f, 0, 1, 0, 0.5f, 0, 0, 1, 0.75f, 3, 4, 5, 2};
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(modelview[k], expected[k]) << "element " << k;
    EXPECT_EQ(texture[k], kStart[k]) << "element " << k;
  }
}

}  // namespace
