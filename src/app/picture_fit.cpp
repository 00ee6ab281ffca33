#include "app/picture_fit.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "app/gl_shell.h"
#include "app/process_state.h"
#include "parts/part_set_up.h"
#include "platform/gl_window.h"

namespace {
std::string glString(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text != nullptr ? reinterpret_cast<const char*>(text) : "";
}

// Textures of any size came with OpenGL 2.0; before, with the extension.
bool anySizeTextures() {
  const std::string version = glString(GL_VERSION);
  if (!version.empty() && version[0] >= '2' && version[0] <= '9') return true;
  return glString(GL_EXTENSIONS).find("GL_ARB_texture_non_power_of_two") != std::string::npos;
}

// The largest side a render target may have: a texture, a renderbuffer
// and the viewport must all take it.
int largestTarget() {
  GLint texture = 0, renderbuffer = 0, viewport[2] = {0, 0};
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
  glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
  return std::min({int(texture), int(renderbuffer), int(viewport[0]), int(viewport[1])});
}

bool sameSize(const PictureLayout& a, const PictureLayout& b) {
  return a.width == b.width && a.height == b.height && a.targetWidth == b.targetWidth &&
         a.targetHeight == b.targetHeight;
}
}  // namespace

bool fitPictureToWindow(ProcessState& s, std::string& error) {
  ShellState& shell = s.shell;
  shell.resized = false;
  int windowWidth = 0, windowHeight = 0;
  platformDrawableSize(shell.gl, windowWidth, windowHeight);
  // A minimised window has no size to fit; the picture stays as it was.
  if (windowWidth <= 0 || windowHeight <= 0) return true;
  // The surface, the viewport and the size limits are the window context's.
  platformMakeCurrent(shell.gl);
  shell.windowHeight = windowHeight;
  shell.shown = fitPicture(windowWidth, windowHeight);
  int width = shell.shown.width, height = shell.shown.height;
  if (shell.askedPictureWidth > 0 && shell.askedPictureHeight > 0) {
    width = shell.askedPictureWidth;
    height = shell.askedPictureHeight;
  }

  const PictureLayout layout = layoutPicture(width, height, anySizeTextures());
  const int largest = largestTarget();
  if (layout.targetWidth > largest || layout.targetHeight > largest) {
    error = "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
            " pixels is more than this graphics driver can draw (render targets of at most " + std::to_string(largest) +
            " x " + std::to_string(largest) + ")";
    return false;
  }
  if (width == windowWidth && height == windowHeight) {
    if (shell.pictureSurface.framebuffer != 0) deleteFramebufferObject(shell.pictureSurface);
  } else if (!sizeFramebufferObject(shell.pictureSurface, width, height, error)) {
    deleteFramebufferObject(shell.pictureSurface);
    return false;
  }

  // The render targets are made by the start-up from the layout; later
  // they follow it.
  if (!sameSize(layout, s.app.picture) && s.offscreen.pbufferRC != nullptr) {
    if (!resizeOffscreenTarget(s.offscreen, layout.targetWidth, layout.targetHeight, error)) return false;
    resizeScreenCopies(s.app.textures, layout);
  }
  s.app.picture = layout;
  resizeViewport(width, height);
  return true;
}

void showFrame(ShellState& shell) {
  if (shell.pictureSurface.framebuffer != 0) {
    // A part may end its frame with its offscreen context current.
    platformMakeCurrent(shell.gl);
    presentPicture(shell.pictureSurface, shell.shown);
  }
  platformSwapBuffers(shell.gl);
}

void cursorOnProductionScreen(const PictureRect& shown, int screenHeight, int& x, int& y) {
  const int top = screenHeight - shown.y - shown.height;
  x = int(std::lround(double(x - shown.x) * kPictureWidth / shown.width));
  y = int(std::lround(double(y - top) * kPictureHeight / shown.height));
}

bool softwareRenderer(std::string_view renderer) {
  for (std::string_view name : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
    if (renderer.find(name) != std::string_view::npos) return true;
  }
  return false;
}
