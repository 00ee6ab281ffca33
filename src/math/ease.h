#pragma once
#include <algorithm>

// Shaped cosine ease from linear progress x to a smooth 0..1 value.
// p = 1 is the plain cosine ease; larger p start slower and end steeper.
// x is not clamped: the cosine simply continues outside 0..1.
double ease(double x, double p);

// Progress inside a time window: a linear expression of time held to 0..1.
inline double clamp01(double x) { return std::clamp(x, 0.0, 1.0); }
