#include "launch/entry.h"

#if defined(__SANITIZE_ADDRESS__)
// Sanitizer builds: the session bus library that SDL's X11 start-up loads
// and the GL driver keep a few allocations to the end of the process. They
// are not ours; the leak checker skips them so it can report what is.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libdbus-1.so\nleak:libGLX_mesa.so\nleak:_dri.so\nleak:libLLVM\n";
}
#endif

int main(int argc, char** argv) { return velmoraMain(argc, argv); }
