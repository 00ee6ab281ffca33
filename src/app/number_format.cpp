#include "app/number_format.h"

#include <cstdio>

std::string formatG(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%#.6g", value);
  std::string text = buffer;
  const size_t exponent = text.find_first_of("eE");
  std::string mantissa = text.substr(0, exponent);
  const std::string tail = exponent == std::string::npos ? "" : text.substr(exponent);
  if (mantissa.find('.') != std::string::npos) {
    while (!mantissa.empty() && mantissa.back() == '0') mantissa.pop_back();
  }
  return mantissa + tail;
}
