#pragma once
#include <cstdint>

// The demo's own pseudo-random source. Scenes re-seed it at fixed points so
// their layouts repeat frame after frame and on every platform; the C
// library's rand() differs in range and sequence between platforms and is
// not used anywhere.
//
// One process-wide state, used from the rendering thread only. Before the
// first seedRandom() the state is 1, as after seedRandom(1).

// Restarts the sequence: the same seed always gives the same sequence.
void seedRandom(uint32_t seed);

// Next value of the sequence, 0..32767.
int nextRandom();

// nextRandom() / 32767: 0 to 1, both ends included.
double random01();
