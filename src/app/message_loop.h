#pragma once
#include <functional>
#include <optional>

#include "app/shell_state.h"
#include "director/director_state.h"
#include "director/frame_inputs.h"

// Dispatches window events; on each idle pass runs one frame (while the
// window is not minimised), latches the Escape request and swaps buffers.
// A frame that returns an exit code ends the loop; otherwise the loop ends
// when the window is closed. `shown`, when given, runs after each swap.
// Returns the exit code; the caller shuts down.
int runMessageLoop(ShellState& shell, DirectorState& director, FrameInputs& inputs,
                   const std::function<std::optional<int>()>& runFrame, const std::function<void()>& shown = {});

// Escape asks for the end once; the request keeps the time of the first press.
void latchEndRequest(ShellState& shell, double demoTime);
