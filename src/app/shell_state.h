#pragma once
#include <array>
#include <string>

#include "platform/gl_window.h"

// The shell's process-wide state: the choices of the setup dialog, the
// window, and the input the window procedure records for the next frame.
struct ShellState {
  bool fullscreen = false;
  bool musicEnabled = false;
  bool slowCard = false;
  bool active = true;
  std::array<bool, 256> keys{};
  bool endRequested = false;
  double endStartTime = 0.0;
  bool leftButtonDown = false;
  double wheel = 0.0;
  std::string clipboardText;

  bool quitPosted = false;  // the loop ends at its next message
  int quitCode = 0;

  PlatformGl gl;
};
