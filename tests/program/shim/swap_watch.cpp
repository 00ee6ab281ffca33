// Preloaded into the demo by the start-up tests: watches every buffer swap
// from outside the program.
//   VELMORA_SWAP_LOG=path       one line per swap (up to VELMORA_SWAP_LOG_FRAMES,
//                               default 40): swap number, seconds since the
//                               epoch, mean of R + G + B over the frame being shown
//                               (-1 with VELMORA_SWAP_BRIGHTNESS=0: timing runs
//                               that must not pay for the read-back)
//   VELMORA_SWAP_DELAY_MS=n     hold each swap until n ms after the one
//                               before: frames of n ms on purpose, on any
//                               machine that draws them faster
//   VELMORA_RENDERER=name       glGetString(GL_RENDERER) answers `name`: the
//                               test display's software rasteriser passes for
//                               a graphics card, and the live picture follows
//                               the window's size as it does on one
//   VELMORA_FREEZE_AT_SWAP=n    after the n-th swap is on screen, write
//   VELMORA_FREEZE_MARK=path    this process id into path and stop (SIGSTOP)
//                               until the test sends SIGCONT
#include <GL/gl.h>
#include <GL/glx.h>
#include <SDL.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern "C" const GLubyte* glGetString(GLenum name) {
  using Get = const GLubyte* (*)(GLenum);
  static const Get real = reinterpret_cast<Get>(dlsym(RTLD_NEXT, "glGetString"));
  const char* renderer = std::getenv("VELMORA_RENDERER");
  if (name == GL_RENDERER && renderer != nullptr && *renderer != '\0')
    return reinterpret_cast<const GLubyte*>(renderer);
  return real(name);
}

namespace {
int envInt(const char* name, int fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::atoi(v) : fallback;
}

double meanBrightness(SDL_Window* window) {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window, &w, &h);
  if (w <= 0 || h <= 0) return -1.0;
  std::vector<unsigned char> rgba(std::size_t(w) * h * 4);
  GLint alignment = 4;
  glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  glReadPixels(0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  glPixelStorei(GL_PACK_ALIGNMENT, alignment);
  double sum = 0.0;
  for (std::size_t i = 0; i < rgba.size(); i += 4) sum += rgba[i] + rgba[i + 1] + rgba[i + 2];
  return sum / (double(w) * h);
}

double now() {
  timespec t{};
  clock_gettime(CLOCK_REALTIME, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}
}  // namespace

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  using Swap = void (*)(SDL_Window*);
  static const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
  static int swaps = 0;
  static std::FILE* log = [] {
    const char* path = std::getenv("VELMORA_SWAP_LOG");
    return path != nullptr ? std::fopen(path, "w") : nullptr;
  }();
  ++swaps;
  if (log != nullptr && swaps <= envInt("VELMORA_SWAP_LOG_FRAMES", 40)) {
    const double brightness = envInt("VELMORA_SWAP_BRIGHTNESS", 1) != 0 ? meanBrightness(window) : -1.0;
    std::fprintf(log, "%d %.6f %.4f\n", swaps, now(), brightness);
    std::fflush(log);
  }
  static const int frameMs = envInt("VELMORA_SWAP_DELAY_MS", 0);
  static double lastSwap = 0.0;
  if (frameMs > 0) {
    const double due = lastSwap + frameMs / 1000.0;
    const double wait = due - now();
    if (wait > 0.0) usleep(useconds_t(wait * 1e6));
    lastSwap = now();
  }
  real(window);
  if (swaps == envInt("VELMORA_FREEZE_AT_SWAP", 0)) {
    glFinish();
    if (Display* display = glXGetCurrentDisplay()) XSync(display, False);
    if (const char* mark = std::getenv("VELMORA_FREEZE_MARK")) {
      const std::string tmp = std::string(mark) + ".part";
      if (std::FILE* f = std::fopen(tmp.c_str(), "w")) {
        std::fprintf(f, "%d\n", int(getpid()));
        std::fclose(f);
        std::rename(tmp.c_str(), mark);
      }
    }
    std::raise(SIGSTOP);
  }
}
