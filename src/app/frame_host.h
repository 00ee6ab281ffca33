#pragma once
#include <optional>

struct ProcessState;
class StepClock;

// One frame of the running demo, after the demo maker's keys (pause, step,
// jump) are applied; an exit code once the demo is over (the recorded text
// is on the clipboard by then when Escape ended it).
std::optional<int> playFrame(ProcessState& state);

// After the frame playFrame drew is on the screen: its frame-log line.
void frameShown(ProcessState& state);

// One frame drawn at the clock's step with nobody at the controls: the
// cursor in the middle, no button, no wheel, no Escape, nothing heard. The
// picture is in the back buffer, not yet swapped.
void renderFrame(ProcessState& state, StepClock& clock);
