#pragma once
#include <cstdint>
#include <vector>

// Counts the draw calls the code under test makes, from outside it: this
// library defines glDrawElements, glDrawArrays, glDrawRangeElements and
// glBegin, which take precedence over libGL's for the whole process (the
// test binary links it, or the demo gets it preloaded) and pass every call
// on to the driver.
struct GlDrawCounts {
  int elementDraws = 0;  // glDrawElements and glDrawRangeElements
  long long elementIndices = 0;
  int arrayDraws = 0;  // glDrawArrays
  long long arrayVertices = 0;
  int begins = 0;  // glBegin
  // The index count of each indexed draw, in call order.
  std::vector<int> indexCounts;
};

// What was counted since the last reset.
const GlDrawCounts& glDrawCounts();
void resetGlDrawCounts();
