#include "math/random.h"

namespace {
uint32_t randomState = 1;
}

void seedRandom(uint32_t seed) { randomState = seed; }

int nextRandom() {
  // Linear congruential step modulo 2^32; unsigned wrap-around is the modulo.
  randomState = randomState * 214013u + 2531011u;
  return int((randomState >> 16) & 0x7FFFu);
}

double random01() { return nextRandom() * (1.0 / 32767.0); }
