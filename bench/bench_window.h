#pragma once
// The window and GL context a benchmark binary draws with.
#include <string>

#include "platform/gl_window.h"

// Opens one window of the given size with its GL context current, once per
// process (later calls return the first call's answer); false without a
// display or a context.
inline bool openBenchWindow(const char* title, int width = 800, int height = 600) {
  static const bool ready = [&] {
    std::string error;
    if (!platformInitVideo(error)) return false;
    static PlatformGl gl;
    GlWindowRequest request;
    request.title = title;
    request.width = width;
    request.height = height;
    WindowFailure failure = WindowFailure::None;
    return platformCreateWindow(gl, request, failure) && platformCreateContext(gl) && platformMakeCurrent(gl);
  }();
  return ready;
}
