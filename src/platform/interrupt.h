#pragma once

// Ctrl-C and termination requests, taken as a flag to poll instead of
// ending the process, so that a long job can stop cleanly between steps.
void catchInterrupts();
bool interruptRequested();

// True when standard error is a terminal (a line can be updated in place).
bool stderrIsTerminal();
