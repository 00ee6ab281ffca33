#pragma once
#include <GL/gl.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

// A hidden window with a compatibility-profile GL context on the test
// display, for GL tests that read back what they drew.
class GlTestContext {
 public:
  // False (with the reason in error()) when no context could be made.
  bool open(int width, int height);
  void close();
  bool makeCurrent() const { return SDL_GL_MakeCurrent(window_, context_) == 0; }
  const char* error() const { return error_; }
  SDL_Window* window() const { return window_; }
  SDL_GLContext context() const { return context_; }

 private:
  SDL_Window* window_ = nullptr;
  SDL_GLContext context_ = nullptr;
  const char* error_ = "";
};

// One Size x Size context for the length of a suite; each test starts from
// identity matrices, a black window and white fixed-function colour.
template <int Size = 64>
class GlSuite : public ::testing::Test {
 protected:
  static constexpr int kSize = Size;

  static void SetUpTestSuite() { ASSERT_TRUE(gl.open(kSize, kSize)) << gl.error(); }
  static void TearDownTestSuite() { gl.close(); }

  void SetUp() override {
    ASSERT_TRUE(gl.makeCurrent()) << SDL_GetError();
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

  // The whole window as RGB, rows from the bottom.
  static std::vector<unsigned char> windowRgb() {
    std::vector<unsigned char> rgb(std::size_t(kSize) * kSize * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSize, kSize, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return rgb;
  }

  // An RGB texture of width x height from rows bottom first, clamped; `name`
  // 0 makes a new one. Left bound.
  static GLuint rgbTexture(int width, int height, const std::vector<unsigned char>& rgb, GLuint name = 0,
                           GLint filter = GL_NEAREST) {
    if (name == 0) glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) glTexParameteri(GL_TEXTURE_2D, p, filter);
    for (GLenum p : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) glTexParameteri(GL_TEXTURE_2D, p, GL_CLAMP_TO_EDGE);
    return name;
  }

  // Level 0 of a texture, `channels` (3 or 4) bytes a texel, with its size.
  static std::vector<unsigned char> texels(GLuint name, int channels = 3, int* width = nullptr, int* height = nullptr) {
    GLint w = 0, h = 0;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    std::vector<unsigned char> out(std::size_t(w) * h * channels);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, channels == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    if (width) *width = w;
    if (height) *height = h;
    return out;
  }

  // Pixels of an RGB picture that are not black.
  static int litPixels(const std::vector<unsigned char>& rgb) {
    int lit = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) lit += rgb[i] + rgb[i + 1] + rgb[i + 2] > 0;
    return lit;
  }

  static inline GlTestContext gl;
};
