#pragma once
#include <functional>

#include "app/shell_state.h"
#include "director/director_state.h"
#include "director/frame_inputs.h"

// Dispatches window events; on each idle pass runs one frame (while the
// window is not minimised), latches the Escape request and swaps buffers.
// Returns the exit code once the window has been closed.
int runMessageLoop(ShellState& shell, DirectorState& director, FrameInputs& inputs,
                   const std::function<void()>& runFrame);

// Escape asks for the end once; the request keeps the time of the first press.
void latchEndRequest(ShellState& shell, double demoTime);
