#pragma once

struct ProcessState;

// Everything between the window's creation and the first frame: the part
// and its assets, the music, the clocks and the cue table. Runs with the
// GL context current. A fatal failure has shown its message and set
// `startUpExit`.
void startUp(ProcessState& state);
