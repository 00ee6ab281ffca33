// Preloaded into the demo by program tests: counts what each frame draws,
// from outside the program (the counting is tests/support/gl_call_counter).
//   VELMORA_GL_CALL_LOG=path   one line per buffer swap: swap number,
//                              indexed draws, their indices, array draws,
//                              their vertices, glBegin batches
// Preloaded together with the swap watcher, either may come first: each
// passes the swap on to the next.
#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "gl_call_counter.h"

extern "C" void SDL_GL_SwapWindow(SDL_Window* window) {
  using Swap = void (*)(SDL_Window*);
  static const Swap real = reinterpret_cast<Swap>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
  static std::FILE* log = [] {
    const char* path = std::getenv("VELMORA_GL_CALL_LOG");
    return path != nullptr ? std::fopen(path, "w") : nullptr;
  }();
  static int swaps = 0;
  ++swaps;
  if (log != nullptr) {
    const GlDrawCounts& c = glDrawCounts();
    std::fprintf(log, "%d %d %lld %d %lld %d\n", swaps, c.elementDraws, c.elementIndices, c.arrayDraws, c.arrayVertices,
                 c.begins);
    std::fflush(log);
  }
  resetGlDrawCounts();
  real(window);
}
