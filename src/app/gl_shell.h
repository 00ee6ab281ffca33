#pragma once
#include <functional>

#include "app/shell_state.h"

// The demo window's life: open it with its GL context, set the first GL
// state and run the start-up work inside, and tear it all down again.

// Opens the window; on failure the user has seen why and the result is false.
bool openGLWindow(ShellState& shell, const char* title, int width, int height, int bits, bool fullscreen,
                  const std::function<void()>& startUp);

// Releases what openGLWindow acquired; safe with any subset acquired.
void closeGLWindow(ShellState& shell);

// The first GL state, then the start-up work. Always true.
bool initGLState(const std::function<void()>& startUp);

// Viewport and a 45-degree perspective for the client area; a height of 0 counts as 1.
void resizeViewport(int width, int height);

// The demo's window title (it starts with two blanks).
inline constexpr const char* kWindowTitle = "  = Velmora. Drov 2006 = ";
