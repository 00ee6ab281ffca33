#pragma once

// Ctrl-C and termination requests, taken as a flag to poll instead of
// ending the process, so that a long job can stop cleanly between steps.
void catchInterrupts();
bool interruptRequested();
