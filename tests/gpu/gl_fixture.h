#pragma once
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <utility>

// A hidden 64 x 64 window with a compatibility context, for the length of
// a suite; each test starts from identity matrices, a black window and
// white fixed-function colour.
class GlFixture : public ::testing::Test {
 protected:
  static constexpr int kSize = 64;

  static void SetUpTestSuite() {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    SDL_GL_ResetAttributes();
    window_ = SDL_CreateWindow("gpu test", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
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
    ASSERT_EQ(SDL_GL_MakeCurrent(window_, context_), 0) << SDL_GetError();
    resetState();
  }

  static void resetMatrices() {
    for (GLenum mode : {GL_TEXTURE, GL_PROJECTION, GL_MODELVIEW}) {
      glMatrixMode(mode);
      glLoadIdentity();
    }
  }

  static void resetState() {
    glViewport(0, 0, kSize, kSize);
    resetMatrices();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    while (glGetError() != GL_NO_ERROR) {
    }
  }

  // The whole view, texture coordinates 0..1 on unit 0.
  static void drawQuad() {
    glBegin(GL_QUADS);
    for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {1, 1}, {0, 1}}) {
      glTexCoord2f(float(x), float(y));
      glVertex2f(float(2 * x - 1), float(2 * y - 1));
    }
    glEnd();
  }

  // (x, y) in window pixels from the bottom left.
  static std::array<int, 3> pixel(int x, int y) {
    GLubyte rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return {rgba[0], rgba[1], rgba[2]};
  }

  static inline SDL_Window* window_ = nullptr;
  static inline SDL_GLContext context_ = nullptr;
};

inline std::string programFile(const char* name) {
  return std::string(VELMORA_SOURCE_DIR) + "/tests/gpu/programs/" + name;
}
