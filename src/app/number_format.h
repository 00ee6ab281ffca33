#pragma once
#include <string>

// Six significant digits the way printf's %#g writes them, then the
// fraction's trailing zeros dropped while the point stays: 2.0 -> "2.",
// 0.0 -> "0.", 0.5 -> "0.5", 1e-05 -> "1.e-05".
std::string formatG(double value);
