#pragma once

// Shaped cosine ease from linear progress x to a smooth 0..1 value.
// p = 1 is the plain cosine ease; larger p start slower and end steeper.
// x is not clamped: the cosine simply continues outside 0..1.
double ease(double x, double p);
