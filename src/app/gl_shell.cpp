#include "app/gl_shell.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "core/diagnostics.h"
#include "platform/message_box.h"

namespace {
constexpr const char* kError = "ERROR";
constexpr const char* kShutdownError = "SHUTDOWN ERROR";
constexpr int kWindowedPosition = 50;

void creationError(const char* text) { showMessage(kError, text, MessageIcon::Exclamation); }

void logPlatformError(const char* step) { reportError(step, platformError()); }

// The user's answer when the display refuses the fullscreen mode: true to
// go on windowed.
bool acceptWindowedFallback() {
  if (askYesNo("Drov GL ;-)",
               "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed "
               "Mode Instead?",
               MessageIcon::Exclamation)) {
    return true;
  }
  showMessage(kError, "Program Will Now Close.", MessageIcon::Stop);
  return false;
}

bool failCreation(ShellState& shell, const char* step, const char* text) {
  logPlatformError(step);
  closeGLWindow(shell);
  creationError(text);
  return false;
}
}  // namespace

bool openGLWindow(ShellState& shell, const char* title, int width, int height, int bits, bool fullscreen,
                  const std::function<void()>& startUp) {
  shell.fullscreen = fullscreen;
  std::string videoError;
  if (!platformInitVideo(videoError)) {
    reportError("video", videoError);
    creationError("Failed To Register The Window Class.");
    return false;
  }
  GlWindowRequest request;
  request.title = title;
  request.x = request.y = shell.fullscreen ? 0 : kWindowedPosition;
  request.width = width;
  request.height = height;
  request.colorBits = bits;
  request.fullscreen = shell.fullscreen;
  request.resizable = shell.resizable;
  WindowFailure failure = WindowFailure::None;
  bool made = platformCreateWindow(shell.gl, request, failure);
  // Fullscreen covers the desktop as it is, without a mode change; only a
  // display that cannot give such a window at all is asked about.
  if (!made && shell.fullscreen) {
    logPlatformError("fullscreen window");
    if (!acceptWindowedFallback()) return false;
    shell.fullscreen = false;
    request.fullscreen = false;
    request.x = request.y = kWindowedPosition;
    made = platformCreateWindow(shell.gl, request, failure);
  }
  if (shell.fullscreen) platformShowCursor(false);
  if (!made) {
    // The platform chooses and sets the pixel format in one step, so a
    // format it cannot set is reported as one it cannot find.
    return failCreation(
        shell, "window",
        failure == WindowFailure::PixelFormat ? "Can't Find A Suitable PixelFormat." : "Window Creation Error.");
  }
  if (!platformCreateContext(shell.gl)) {
    return failCreation(shell, "context", "Can't Create A GL Rendering Context.");
  }
  if (!platformMakeCurrent(shell.gl)) {
    return failCreation(shell, "make current", "Can't Activate The GL Rendering Context.");
  }
  platformShowWindow(shell.gl);
  resizeViewport(width, height);
  if (!initGLState(startUp)) {
    closeGLWindow(shell);
    creationError("Initialization Failed.");
    return false;
  }
  return true;
}

void closeGLWindow(ShellState& shell) {
  if (shell.fullscreen) {
    platformLeaveFullscreen(shell.gl);
    platformShowCursor(true);
  }
  if (shell.gl.context != nullptr) {
    if (!platformReleaseCurrent(shell.gl)) {
      showMessage(kShutdownError, "Release Of DC And RC Failed.", MessageIcon::Information);
    }
    platformDeleteContext(shell.gl);
  }
  if (shell.gl.window != nullptr) platformDestroyWindow(shell.gl);
}

bool initGLState(const std::function<void()>& startUp) {
  glShadeModel(GL_SMOOTH);
  glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
  glClearDepth(1.0);
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
  if (startUp) startUp();
  return true;
}

void resizeViewport(int width, int height) {
  if (height == 0) height = 1;
  glViewport(0, 0, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<GLdouble>(width) / static_cast<GLdouble>(height), static_cast<GLdouble>(0.1f),
                 100.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
}
