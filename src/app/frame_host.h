#pragma once
#include <optional>

struct ProcessState;

// One frame of the running demo; an exit code once the demo is over (the
// recorded text is on the clipboard by then when Escape ended it).
std::optional<int> playFrame(ProcessState& state);
