#include <gtest/gtest.h>

#include "app/number_format.h"

TEST(NumberFormat, KeepsThePointAndDropsTrailingZeros) {
  EXPECT_EQ(formatG(0.0), "0.");
  EXPECT_EQ(formatG(2.0), "2.");
  EXPECT_EQ(formatG(0.5), "0.5");
  EXPECT_EQ(formatG(-7.0), "-7.");
  EXPECT_EQ(formatG(100.0), "100.");
  EXPECT_EQ(formatG(0.2), "0.2");
}

TEST(NumberFormat, SixSignificantDigits) {
  EXPECT_EQ(formatG(3.14159265), "3.14159");
  EXPECT_EQ(formatG(123456.7), "123457.");
  EXPECT_EQ(formatG(0.0001234567), "0.000123457");
  EXPECT_EQ(formatG(static_cast<double>(0.0175f * 3)), "0.0525");
}

TEST(NumberFormat, ExponentFormOutsideTheFixedRange) {
  EXPECT_EQ(formatG(1234567.0), "1.23457e+06");
  EXPECT_EQ(formatG(1e6), "1.e+06");
  EXPECT_EQ(formatG(0.00001), "1.e-05");
  EXPECT_EQ(formatG(-2.5e-7), "-2.5e-07");
}
