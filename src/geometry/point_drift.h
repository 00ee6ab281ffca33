#pragma once
#include "math/flag_vec3.h"

// The two rules that push line points in depth once they leave a band
// around the scene's centre line (y near 0). Only z changes; the rates
// a, b and c are per-frame amounts chosen by the line layer. Both are
// pure arithmetic on the point.

// Above y = -1 points beyond |x| = 2.3 move by a (right) or b (left),
// weighted by how far below y = 3 they are; below y = -3 points beyond
// |x| = 0.3 move by b * c (right) or c (left), weighted by the distance
// under -3. Between -3 and -1 nothing moves.
void driftPointB(FlagVec3& p, const double& a, const double& b, const double& c);

// As driftPointB with a narrower band (|x| > 0.1 above y = -1, any x off 0
// below y = -3), each push scaled by the point's distance from x = 1.3
// (upper) or from x = 0 (lower), at most 1, so the push fades in smoothly
// instead of stepping at the band's edge.
void driftPointA(FlagVec3& p, const double& a, const double& b, const double& c);
