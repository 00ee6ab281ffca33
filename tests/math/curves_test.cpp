#include <gtest/gtest.h>

#include <cmath>

#include "math/ease.h"
#include "math/pulse.h"

namespace {

TEST(Ease, EndsAreFixedAndTheShapeBendsTheMiddle) {
  for (double p : {0.25, 1.0, 2.0, 3.5, 8.0}) {
    EXPECT_NEAR(ease(0.0, p), 0.0, 1e-12) << "p = " << p;
    EXPECT_NEAR(ease(1.0, p), 1.0, 1e-12) << "p = " << p;
  }
  EXPECT_NEAR(ease(0.5, 2.0), 0.4179, 1e-4);
  // p = 1 is the plain cosine ease everywhere, not only at the midpoint.
  for (double x = 0; x <= 1.0; x += 0.125)
    EXPECT_NEAR(ease(x, 1.0), (1.0 - std::cos(3.141592653589793 * x)) / 2, 1e-12);
}

TEST(Ease, RisesMonotonicallyAndStaysInRangeOutsideTheWindow) {
  double previous = -1;
  for (int k = 0; k <= 100; ++k) {
    const double v = ease(k / 100.0, 3.0);
    EXPECT_GE(v, previous);
    previous = v;
  }
  // Unclamped progress keeps following the cosine instead of leaving 0..1.
  EXPECT_NEAR(ease(1.5, 1.0), 0.5, 1e-12);
  EXPECT_NEAR(ease(-0.5, 2.0), ease(0.5, 2.0), 1e-12);
  EXPECT_NEAR(ease(2.0, 2.0), 0.0, 1e-12);
}

TEST(PulseDecay, StartsAtOneEndsAtTheCutOffAndIsZeroAtAndBeyondThePole) {
  Pulse pulse{10.0};
  EXPECT_DOUBLE_EQ(pulse.decay(10.0, 6.7, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(pulse.decay(11.0, 6.7, 1.0), 1.0 / 7.7);
  // 1 / (s + 1) >= 7.5e-5 holds up to s = 13332.33: about 1989.9 s at a*b = 6.7.
  EXPECT_GT(pulse.decay(10.0 + 1989.0, 6.7, 1.0), 7.5e-5);
  EXPECT_EQ(pulse.decay(10.0 + 1991.0, 6.7, 1.0), 0.0);
  // Before the trigger it rises; s = -1 is the pole, where the result is 0, never infinite.
  EXPECT_GT(pulse.decay(9.95, 6.7, 1.0), 1.0);
  EXPECT_EQ(pulse.decay(10.0 - 1.0, 1.0, 1.0), 0.0);
  EXPECT_EQ(pulse.decay(5.0, 6.7, 1.0), 0.0);
}

TEST(PulseDampedCosine, OscillatesInsideItsEnvelope) {
  Pulse pulse{2.0};
  EXPECT_DOUBLE_EQ(pulse.dampedCosine(2.0, 6.4, 2.0), 1.0);
  const double t = 2.0 + 3.141592653589793 / 2.0;  // u = pi at b = 2
  EXPECT_NEAR(pulse.dampedCosine(t, 6.4, 2.0), -1.0 / (6.4 * 3.141592653589793 + 1.0), 1e-12);
  for (double dt = 0; dt < 5; dt += 0.01) {
    const double u = dt * 1.55;
    EXPECT_LE(std::fabs(pulse.dampedCosine(2.0 + dt, 6.4, 1.55)), 1.0 / (6.4 * u + 1.0) + 1e-15);
  }
}

TEST(PulseDampedCosine, ZeroWhereTheEnvelopeIsCutOrNegative) {
  Pulse pulse{0.0};
  // a*u + 1 = 100000 is the last value kept; a*u + 1 just above it is cut.
  const double a = 4.0, b = 1.0;
  const double uLast = (100000.0 - 1.0) / a;
  EXPECT_NE(pulse.dampedCosine(uLast * 0.999, a, b), 0.0);
  EXPECT_EQ(pulse.dampedCosine(uLast * 1.001, a, b), 0.0);
  // Before the trigger: a*u + 1 < 0, and the pole a*u + 1 = 0 itself.
  EXPECT_EQ(pulse.dampedCosine(-1.0, a, b), 0.0);
  EXPECT_EQ(pulse.dampedCosine(-0.25, a, b), 0.0);
  EXPECT_TRUE(std::isfinite(pulse.dampedCosine(-0.2499, a, b)));
}

}  // namespace
