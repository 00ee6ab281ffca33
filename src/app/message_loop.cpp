#include "app/message_loop.h"

#include "app/picture_fit.h"
#include "app/window_proc.h"
#include "platform/events.h"
#include "platform/system.h"
#include "platform/virtual_keys.h"

namespace {
// While minimised there is nothing to draw; don't spin a core on it.
constexpr int kMinimisedPauseMs = 10;
}  // namespace

void latchEndRequest(ShellState& shell, double demoTime) {
  const bool escape = shell.keys[vk::Escape] || shell.pressedSinceFrame[vk::Escape];
  shell.pressedSinceFrame = {};
  if (escape && !shell.endRequested) {
    shell.endRequested = true;
    shell.endStartTime = demoTime;
  }
}

int runMessageLoop(ShellState& shell, DirectorState& director, FrameInputs& inputs,
                   const std::function<std::optional<int>()>& runFrame, const std::function<void()>& shown) {
  for (;;) {
    PlatformEvent event;
    if (pollPlatformEvent(event)) {
      windowProc(shell, inputs, event, director.frameDelta);
      continue;
    }
    // The quit request is taken once no other event is waiting.
    if (shell.quitPosted) break;
    if (shell.active) {
      if (const std::optional<int> code = runFrame()) {
        // The frame that ends the run is drawn: show it, or a slow frame
        // rate leaves Escape's fade on screen short of black.
        showFrame(shell);
        return *code;
      }
    } else {
      sleepMilliseconds(kMinimisedPauseMs);
    }
    latchEndRequest(shell, director.demoTime);
    showFrame(shell);
    if (shell.active && shown) shown();
  }
  return shell.quitCode;
}
