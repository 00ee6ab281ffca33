#pragma once
// One-pixel outlines for the pictures the demo turns into spline paths.
// The demo follows an outline pixel by pixel through its 8 (bright) or 4
// (grey) neighbours and stops at the first pixel without an unvisited
// neighbour, so an outline is only traced whole when every pixel of it has
// exactly two outline neighbours. The helpers here build such chains and
// check that property.
#include <functional>
#include <string>
#include <vector>

#include "image.h"

namespace datagen {

struct Px {
  int x = 0, y = 0;
  bool operator==(const Px&) const = default;
};
using Chain = std::vector<Px>;

// A filled region, sampled per pixel centre.
using Region = std::function<bool(double x, double y)>;

// Closed 8-connected boundary of the region's largest component, thinned so
// that no pixel has more than two chain neighbours.
Chain regionOutline(const Region& region, int w, int h);

// Removes pixels whose two chain neighbours already touch (staircase
// corners); `closed` treats the chain as a loop.
void thinChain(Chain& chain, bool closed);

// Empty when every chain is a clean loop (8-connectivity) or a clean open
// path (4-connectivity, for grey traces) and no two chains touch; otherwise a
// description of the first fault.
std::string checkClosedChains(const std::vector<Chain>& chains, int w, int h);
std::string checkGreyTraces(const std::vector<Chain>& chains, int w, int h);

}  // namespace datagen
