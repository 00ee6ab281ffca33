#pragma once
#include <vector>

// How bright the composed picture is at a part time: `grey` scales every
// channel, `dim` only red and green (the cold break before the drop).
struct GreyLevel {
  double grey;
  double dim;
};

// Fades in from 0.3 s, out from 33.5 s, dips to black and back after each
// event time, and turns cold and dark from 17.0 to 18.09 s.
GreyLevel greyLevelAt(double partTime, const std::vector<double>& eventTimes);

// How far apart the ghost copies of the screen slide; below 0.001 the
// picture is drawn once, without copies.
double ghostSpreadAt(double partTime);
