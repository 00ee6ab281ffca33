#include "math/ease.h"

#include <cmath>

double ease(double x, double p) {
  const double pi = 3.141592653589793;
  const double base = (std::cos(x * pi) + 1.0) * 0.5;
  const double exponent = (p - 1.0) * 0.5 + 1.0;
  return std::pow(1.0 - std::pow(base, exponent), p);
}
