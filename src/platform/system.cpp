#include "platform/system.h"

#include <SDL.h>
#include <unistd.h>

#include <cstdio>

namespace {
bool useMillisecondCounter() {
  static const bool fallback = SDL_GetPerformanceFrequency() == 0;
  return fallback;
}
}  // namespace

int64_t performanceCounter() {
  if (useMillisecondCounter()) return static_cast<int64_t>(SDL_GetTicks64());
  return static_cast<int64_t>(SDL_GetPerformanceCounter());
}

int64_t performanceFrequency() {
  if (useMillisecondCounter()) return 1000;
  return static_cast<int64_t>(SDL_GetPerformanceFrequency());
}

void cursorPosition(int& x, int& y) { SDL_GetGlobalMouseState(&x, &y); }

bool setClipboardText(const std::string& text) {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && SDL_strcmp(driver, "x11") == 0) {
    // An X11 selection dies with its owner, and the demo copies its text
    // just before it exits. xclip, where installed, keeps serving it
    // afterwards. SDL must not take the selection as well: its request
    // could reach the server later and take it back from xclip.
    if (std::FILE* xclip = popen("xclip -selection clipboard -i >/dev/null 2>&1", "w")) {
      std::fwrite(text.data(), 1, text.size(), xclip);
      if (pclose(xclip) == 0) return true;
    }
  }
  return SDL_SetClipboardText(text.c_str()) == 0;
}

void sleepMilliseconds(int ms) { SDL_Delay(static_cast<Uint32>(ms)); }

bool stderrIsTerminal() { return isatty(STDERR_FILENO) == 1; }
