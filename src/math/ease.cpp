#include "math/ease.h"

#include <cmath>
#include <numbers>

double ease(double x, double p) {
  const double base = (std::cos(x * std::numbers::pi) + 1.0) * 0.5;
  const double exponent = (p - 1.0) * 0.5 + 1.0;
  return std::pow(1.0 - std::pow(base, exponent), p);
}
