#include "platform/interrupt.h"

#include <atomic>

#include "platform/win32/win32_common.h"

namespace {
std::atomic<bool> g_interrupted{false};

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
      g_interrupted = true;
      return TRUE;
    default:
      return FALSE;
  }
}
}  // namespace

void catchInterrupts() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

bool interruptRequested() { return g_interrupted; }
