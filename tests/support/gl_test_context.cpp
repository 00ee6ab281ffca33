#include "gl_test_context.h"

// The session bus library that SDL's X11 start-up pulls in keeps a buffer
// it never frees; it is not ours, so the sanitizer build's leak checker
// skips it in every binary that opens a GL context.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }

bool GlTestContext::open(int width, int height) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    error_ = SDL_GetError();
    return false;
  }
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  window_ = SDL_CreateWindow("velmora test", 0, 0, width, height, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
  if (window_ == nullptr) {
    error_ = SDL_GetError();
    return false;
  }
  context_ = SDL_GL_CreateContext(window_);
  if (context_ == nullptr) {
    error_ = SDL_GetError();
    return false;
  }
  return true;
}

// No SDL_Quit: it would unload the GL driver, whose last allocations would
// then show up as leaks of an unknown module.
void GlTestContext::close() {
  if (context_ != nullptr) SDL_GL_DeleteContext(context_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  context_ = nullptr;
  window_ = nullptr;
}
