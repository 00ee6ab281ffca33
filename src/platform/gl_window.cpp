#include "platform/gl_window.h"

#include <SDL.h>

namespace {
SDL_Window* sdlWindow(const PlatformGl& gl) { return static_cast<SDL_Window*>(gl.window); }

void requestPixelFormat(int colorBits, int depthBits, bool alpha) {
  const int channel = colorBits >= 24 ? 8 : 5;
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, channel);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, alpha ? channel : 0);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depthBits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
}
bool environmentSet(const char* name) {
  const char* value = SDL_getenv(name);
  return value != nullptr && value[0] != '\0';
}

// Without a display SDL would fall back to its offscreen driver and play
// the demo to nobody. Only drivers that show something are tried, unless
// the user names one in SDL_VIDEODRIVER.
bool initVisibleVideoDriver(std::string& error) {
  if (environmentSet("SDL_VIDEODRIVER")) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    error = SDL_GetError();
    return false;
  }
  const struct {
    const char* driver;
    const char* needs;  // environment variable that says the display exists
  } candidates[] = {{"x11", "DISPLAY"}, {"wayland", "WAYLAND_DISPLAY"}, {"KMSDRM", nullptr}};
  error = "no display";
  for (const auto& c : candidates) {
    if (c.needs != nullptr && !environmentSet(c.needs)) continue;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, c.driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    error = std::string(c.driver) + ": " + SDL_GetError();
  }
  return false;
}
}  // namespace

bool platformInitVideo(std::string& error) {
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return true;
  if (!initVisibleVideoDriver(error)) return false;
  // The demo keeps running when its window loses focus in fullscreen.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  return true;
}

bool platformDesktopSize(int& width, int& height) {
  SDL_DisplayMode mode;
  if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) return false;
  width = mode.w;
  height = mode.h;
  return true;
}

bool platformCreateWindow(PlatformGl& gl, const GlWindowRequest& request, WindowFailure& failure) {
  Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN;
  int width = request.width;
  int height = request.height;
  if (request.fullscreen) {
    flags |= SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    if (!platformDesktopSize(width, height)) {
      failure = WindowFailure::Window;
      return false;
    }
  } else if (request.resizable) {
    flags |= SDL_WINDOW_RESIZABLE;
  }

  struct Format {
    int depth;
    bool alpha;
  };
  const Format formats[] = {{32, true}, {24, true}, {24, false}, {16, false}};
  for (const Format& f : formats) {
    requestPixelFormat(request.colorBits, f.depth, f.alpha);
    SDL_Window* w = SDL_CreateWindow(request.title.c_str(), request.x, request.y, width, height, flags);
    if (w != nullptr) {
      // Smaller than this the picture would be a smudge; it still shows.
      if (request.resizable) SDL_SetWindowMinimumSize(w, 160, 120);
      gl.window = w;
      gl.depthBits = f.depth;
      failure = WindowFailure::None;
      return true;
    }
  }
  // Tell a display that refuses every GL pixel format from one that
  // refuses windows altogether.
  SDL_Window* plain = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN);
  failure = plain != nullptr ? WindowFailure::PixelFormat : WindowFailure::Window;
  if (plain != nullptr) SDL_DestroyWindow(plain);
  return false;
}

bool platformCreateContext(PlatformGl& gl) {
  gl.context = SDL_GL_CreateContext(sdlWindow(gl));
  return gl.context != nullptr;
}

bool platformMakeCurrent(PlatformGl& gl) {
  return SDL_GL_MakeCurrent(sdlWindow(gl), static_cast<SDL_GLContext>(gl.context)) == 0;
}

void platformShowWindow(PlatformGl& gl) {
  SDL_ShowWindow(sdlWindow(gl));
  SDL_RaiseWindow(sdlWindow(gl));
}

bool platformReleaseCurrent(PlatformGl& gl) { return SDL_GL_MakeCurrent(sdlWindow(gl), nullptr) == 0; }

void platformDeleteContext(PlatformGl& gl) {
  SDL_GL_DeleteContext(static_cast<SDL_GLContext>(gl.context));
  gl.context = nullptr;
}

void platformDestroyWindow(PlatformGl& gl) {
  SDL_DestroyWindow(sdlWindow(gl));
  gl.window = nullptr;
}

void platformLeaveFullscreen(PlatformGl& gl) {
  if (gl.window != nullptr) SDL_SetWindowFullscreen(sdlWindow(gl), 0);
}

void platformShowCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void platformDrawableSize(PlatformGl& gl, int& width, int& height) {
  width = height = 0;
  if (gl.window != nullptr) SDL_GL_GetDrawableSize(sdlWindow(gl), &width, &height);
}

void platformSwapBuffers(PlatformGl& gl) {
  if (gl.window != nullptr) SDL_GL_SwapWindow(sdlWindow(gl));
}

bool platformSetSwapInterval(int interval) { return SDL_GL_SetSwapInterval(interval) == 0; }

void* platformGlProcAddress(const char* name) { return SDL_GL_GetProcAddress(name); }

std::string platformError() { return SDL_GetError(); }
