#include "platform/system.h"

#include <SDL.h>

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
  return SDL_SetClipboardText(text.c_str()) == 0;
}

void sleepMilliseconds(int ms) { SDL_Delay(static_cast<Uint32>(ms)); }
