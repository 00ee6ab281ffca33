#include "platform/events.h"

#include <deque>

#include "platform/win32/win32_common.h"

namespace {
// Events the window procedure has turned out, waiting for the message loop.
std::deque<PlatformEvent> g_waiting;

void queue(EventKind kind, PlatformEvent event = {}) {
  event.kind = kind;
  g_waiting.push_back(event);
}

void queueKey(EventKind kind, WPARAM key, LPARAM flags) {
  PlatformEvent event;
  event.virtualKey = static_cast<int>(key);
  event.repeat = kind == EventKind::KeyDown && (flags & (LPARAM{1} << 30)) != 0;
  queue(kind, event);
}
}  // namespace

LRESULT CALLBACK demoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  PlatformEvent event;
  switch (message) {
    case WM_ACTIVATE:
      event.minimized = HIWORD(wParam) != 0;
      queue(EventKind::Activate, event);
      return 0;
    case WM_SYSCOMMAND:
      // No screen saver and no monitor power-down while the demo plays.
      if ((wParam & 0xFFF0) == SC_SCREENSAVE || (wParam & 0xFFF0) == SC_MONITORPOWER) return 0;
      break;
    case WM_CLOSE:
      // The shell decides when the window goes.
      queue(EventKind::Close);
      return 0;
    case WM_KEYDOWN:
      queueKey(EventKind::KeyDown, wParam, lParam);
      return 0;
    case WM_KEYUP:
      queueKey(EventKind::KeyUp, wParam, lParam);
      return 0;
    case WM_SIZE:
      // Minimising is told by WM_ACTIVATE; the empty client area it leaves
      // is no size to draw at.
      if (wParam == SIZE_MINIMIZED) return 0;
      event.width = LOWORD(lParam);
      event.height = HIWORD(lParam);
      queue(EventKind::Size, event);
      return 0;
    case WM_GETMINMAXINFO: {
      // Smaller than this the picture would be a smudge; it still shows.
      RECT least = {0, 0, 160, 120};
      AdjustWindowRectEx(&least, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = POINT{least.right - least.left, least.bottom - least.top};
      return 0;
    }
    case WM_MOUSEWHEEL:
      event.wheelDelta = GET_WHEEL_DELTA_WPARAM(wParam);
      queue(EventKind::MouseWheel, event);
      return 0;
    case WM_LBUTTONDOWN:
      queue(EventKind::LeftButtonDown);
      return 0;
    case WM_LBUTTONUP:
      queue(EventKind::LeftButtonUp);
      return 0;
    case WM_MBUTTONDOWN:
      queue(EventKind::MiddleButtonDown);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool pollPlatformEvent(PlatformEvent& out) {
  MSG message;
  while (g_waiting.empty() && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      queue(EventKind::Close);
      break;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (g_waiting.empty()) return false;
  out = g_waiting.front();
  g_waiting.pop_front();
  return true;
}
