#include <gtest/gtest.h>

#include <utility>

#include "app/number_format.h"

// Keeps the point, drops trailing zeros, six significant digits, exponent
// form outside the fixed range.
TEST(NumberFormat, FormatsLikeTheRecordsExpect) {
  const std::pair<double, const char*> cases[] = {
      {0.0, "0."},
      {2.0, "2."},
      {0.5, "0.5"},
      {-7.0, "-7."},
      {100.0, "100."},
      {3.14159265, "3.14159"},
      {123456.7, "123457."},
      {0.0001234567, "0.000123457"},
      {static_cast<double>(0.0175f * 3), "0.0525"},
      {1234567.0, "1.23457e+06"},
      {1e6, "1.e+06"},
      {0.00001, "1.e-05"},
      {-2.5e-7, "-2.5e-07"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(formatG(value), text) << value;
}
