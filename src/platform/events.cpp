#include "platform/events.h"

#include <SDL.h>

#include "platform/virtual_keys.h"

namespace {
constexpr int kWheelUnitsPerNotch = 120;

void translateWindowEvent(const SDL_WindowEvent& w, PlatformEvent& out) {
  switch (w.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
      out.kind = EventKind::Activate;
      out.minimized = true;
      break;
    case SDL_WINDOWEVENT_RESTORED:
      out.kind = EventKind::Activate;
      out.minimized = false;
      break;
    case SDL_WINDOWEVENT_CLOSE:
      out.kind = EventKind::Close;
      break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      out.kind = EventKind::Size;
      out.width = w.data1;
      out.height = w.data2;
      break;
    default:
      break;
  }
}
}  // namespace

bool pollPlatformEvent(PlatformEvent& out) {
  SDL_Event e;
  if (SDL_PollEvent(&e) == 0) return false;
  out = PlatformEvent{};
  switch (e.type) {
    case SDL_QUIT:
      out.kind = EventKind::Close;
      break;
    case SDL_WINDOWEVENT:
      translateWindowEvent(e.window, out);
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      out.virtualKey = virtualKeyFromSdlKeycode(e.key.keysym.sym);
      out.repeat = e.key.repeat != 0;
      if (out.virtualKey != vk::Unknown) {
        out.kind = e.type == SDL_KEYDOWN ? EventKind::KeyDown : EventKind::KeyUp;
      }
      break;
    case SDL_MOUSEWHEEL: {
      int notches = e.wheel.y;
      if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
      out.kind = EventKind::MouseWheel;
      out.wheelDelta = notches * kWheelUnitsPerNotch;
      break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
      const bool down = e.type == SDL_MOUSEBUTTONDOWN;
      if (e.button.button == SDL_BUTTON_LEFT) {
        out.kind = down ? EventKind::LeftButtonDown : EventKind::LeftButtonUp;
      } else if (e.button.button == SDL_BUTTON_MIDDLE && down) {
        out.kind = EventKind::MiddleButtonDown;
      }
      break;
    }
    default:
      break;
  }
  return true;
}
