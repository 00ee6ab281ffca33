#pragma once
#include "app/process_state.h"

// Starting anywhere (--start, --shot, --capture, the jump keys): the
// director and the part are brought to where a fixed-step run from 0 at
// `fps` stands just before its frame at demo time `t`, drawing nothing.
// Part time gets the value that run gives it; what only drawn frames build
// (the ripple field) starts empty. A fixed step from there lands on `t`.
void catchUpTo(ProcessState& state, double t, int fps);

// Live: the same in steps of 1/60 s, then the frame at `t` itself is taken
// without drawing, so the next live frame goes on from `t`. The clock
// restarts now and the music, unless paused, plays from `t`.
void enterLiveAt(ProcessState& state, double t);
