#pragma once
#include <optional>

#include "app/process_state.h"

// One frame of the running demo; an exit code once the demo is over, with
// the music and the window already closed.
std::optional<int> playFrame(ProcessState& state);
