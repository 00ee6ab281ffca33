#pragma once

// The part clock: part time runs at the demo's pace until 16.8 s, then
// speeds up by a tenth over five seconds, and from 23 s eases back by
// speedBias x 0.03 over another five.

// Part seconds per demo second at part time `partTime`.
double partClockRate(double partTime, double speedBias);

// The demo time, in seconds from the part's start, at which the part
// clock reaches `partTime` when frames are short: the clock's rate
// integrated back. Negative part times give themselves.
double demoSecondsAt(double partTime, double speedBias);
