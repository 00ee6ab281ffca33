#pragma once
#include <string>

#include "demo/texture_numbers.h"

struct DemoApp;

// The caustics: sixteen pictures of light through a water surface, loaded
// once into consecutive texture numbers and cycled by part time, 28 steps a
// second.
constexpr int kCausticFrameCount = 16;
constexpr double kCausticStepsPerSecond = 28.0;

// "textures/caust00.jpg", "textures/caust02.jpg", ... "textures/caust30.jpg".
std::string causticFrameFile(int frame);

// Frame k into texture number first + k. A picture that cannot be loaded
// stops the loading as every texture load does.
void loadCausticFrames(DemoApp& app, int first);

// The texture number showing at `partTime`: first + (trunc(28 t) mod 16).
// Times before the part's start and times that are not numbers show frame 0
// rather than a number outside the sequence.
int causticFrame(double partTime, int first = kCausticFirstPicture);
