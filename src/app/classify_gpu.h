#pragma once
#include <string_view>

#include "demo/demo_app.h"

// The card's class from its vendor and renderer strings: isAti, gpuSpeed
// (1.0, 1.5 for ATI, then the last matching chip of the speed table) and
// lowEndModel. Plain substring tests, so "59" matches any renderer string
// with those two digits in a row.
void classifyGpuStrings(std::string_view vendor, std::string_view renderer, DemoApp& app);

// The same for the current GL context's strings.
void classifyGpu(DemoApp& app);
