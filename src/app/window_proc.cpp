#include "app/window_proc.h"

#include "app/number_format.h"
#include "platform/virtual_keys.h"

namespace {
// One wheel notch (120 units) moves the accumulator by 0.2; the product is
// formed in single precision, as the recorded camera values rely on.
constexpr float kWheelScale = 0.0016666667f;

std::string triple(double a, double b, double c) { return formatG(a) + "," + formatG(b) + "," + formatG(c); }
}  // namespace

void notePlaybackKey(PlaybackRequests& requests, int virtualKey, bool repeat) {
  switch (virtualKey) {
    case vk::Space:
      // Held down, the key would pause and resume in turn.
      if (!repeat) requests.togglePause = !requests.togglePause;
      break;
    case vk::OemPeriod:
      ++requests.steps;
      break;
    case vk::OemComma:
      --requests.jumpSeconds;
      break;
    case vk::OemSlash:
      ++requests.jumpSeconds;
      break;
    default:
      break;
  }
}

void applyArrowKeys(const ShellState& shell, FrameInputs& inputs, double frameDelta) {
  if (shell.keys[vk::Up]) inputs.arrowVertical += 1.5 * frameDelta;
  if (shell.keys[vk::Down]) inputs.arrowVertical -= 1.5 * frameDelta;
  if (shell.keys[vk::Left]) inputs.arrowHorizontal -= frameDelta;
  if (shell.keys[vk::Right]) inputs.arrowHorizontal += frameDelta;
}

void recordCameraAndPoint(ShellState& shell, FrameInputs& inputs) {
  inputs.recordedPoints.push_back(FlagVec3{1, static_cast<float>(inputs.pointX), static_cast<float>(inputs.pointY),
                                           static_cast<float>(inputs.pointZ)});
  shell.clipboardText += "Cam :" + triple(inputs.cameraX, inputs.cameraY, inputs.cameraZ) + "  \n";
  shell.clipboardText += "Pnt :" + triple(inputs.pointX, inputs.pointY, inputs.pointZ) + "  \n \n";
}

void windowProc(ShellState& shell, FrameInputs& inputs, const PlatformEvent& event, double frameDelta) {
  switch (event.kind) {
    case EventKind::Activate:
      shell.active = !event.minimized;
      return;
    case EventKind::Close:
      shell.quitPosted = true;
      shell.quitCode = 0;
      return;
    case EventKind::KeyDown:
    case EventKind::KeyUp:
      if (event.virtualKey > 0 && event.virtualKey < 256) {
        shell.keys[static_cast<size_t>(event.virtualKey)] = event.kind == EventKind::KeyDown;
        if (event.kind == EventKind::KeyDown) shell.pressedSinceFrame[static_cast<size_t>(event.virtualKey)] = true;
      }
      if (event.kind == EventKind::KeyDown) notePlaybackKey(shell.playback, event.virtualKey, event.repeat);
      return;
    case EventKind::Size:
      // The picture, its targets and the viewport follow before the next
      // frame (fitPictureToWindow): a drag sends many sizes between two.
      shell.resized = true;
      return;
    case EventKind::MouseWheel: {
      const auto notchUnits = static_cast<int16_t>(event.wheelDelta);
      shell.wheel += static_cast<float>(notchUnits) * kWheelScale;
      return;
    }
    case EventKind::LeftButtonDown:
    case EventKind::LeftButtonUp:
      shell.leftButtonDown = event.kind == EventKind::LeftButtonDown;
      break;
    case EventKind::MiddleButtonDown:
      recordCameraAndPoint(shell, inputs);
      break;
    case EventKind::Other:
      break;
  }
  applyArrowKeys(shell, inputs, frameDelta);
}
