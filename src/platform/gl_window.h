#pragma once
#include <string>
#include "core/picture_size.h"

// The demo's one window and its OpenGL context, acquired step by step so
// that the shell can name the step that failed and release the rest.
struct PlatformGl {
  void* window = nullptr;   // SDL_Window*
  void* context = nullptr;  // SDL_GLContext
  int depthBits = 0;        // what the pixel format finally got
};

struct GlWindowRequest {
  std::string title;
  int x = 0;
  int y = 0;
  int width = kPictureWidth;
  int height = kPictureHeight;
  int colorBits = 32;
  // A borderless window over the whole display at the display's own mode
  // (width and height are then ignored): the mode is never changed.
  bool fullscreen = false;
  // The user may resize a (windowed) window; Size events tell the new size.
  bool resizable = false;
};

enum class WindowFailure { None, Window, PixelFormat };

// Starts the video system; false when there is no display to open windows on.
bool platformInitVideo(std::string& error);

// The size of the desktop of the display windows open on, in pixels;
// false when the display does not say.
bool platformDesktopSize(int& width, int& height);

// Creates the (hidden) window with a double-buffered RGBA pixel format:
// depth 32 where offered, else 24.
bool platformCreateWindow(PlatformGl& gl, const GlWindowRequest& request, WindowFailure& failure);
bool platformCreateContext(PlatformGl& gl);
bool platformMakeCurrent(PlatformGl& gl);
void platformShowWindow(PlatformGl& gl);

bool platformReleaseCurrent(PlatformGl& gl);
void platformDeleteContext(PlatformGl& gl);
void platformDestroyWindow(PlatformGl& gl);
void platformLeaveFullscreen(PlatformGl& gl);
void platformShowCursor(bool show);

// The window's drawable area in pixels (its client area).
void platformDrawableSize(PlatformGl& gl, int& width, int& height);

void platformSwapBuffers(PlatformGl& gl);
// 0: do not wait for the vertical retrace. False when the driver refuses.
bool platformSetSwapInterval(int interval);

// The address of a GL function of the current context's driver, or null.
void* platformGlProcAddress(const char* name);

// The last error text of the platform layer, for logs.
std::string platformError();
