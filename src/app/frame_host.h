#pragma once
#include <optional>

#include "app/process_state.h"

// One frame of the running demo; an exit code once the demo is over (the
// recorded text is on the clipboard by then when Escape ended it).
std::optional<int> playFrame(ProcessState& state);
