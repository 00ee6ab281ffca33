#include "choreography/line_layers.h"

#include <gtest/gtest.h>

namespace {
TEST(LineLayerTiming, AccentsFlashAndFade) {
  EXPECT_EQ(accentFlash(9.0), 0.0);
  EXPECT_DOUBLE_EQ(accentFlash(9.2), 1.0);
  EXPECT_LT(accentFlash(9.7), 0.06);
  EXPECT_DOUBLE_EQ(accentFlash(18.0), 1.0);
  EXPECT_LT(accentFlash(25.0), 1e-6);
}

TEST(LineLayerTiming, StreamsRunInTheirOwnSubWindows) {
  EXPECT_TRUE(streamsAt(18.1).curvePaths);
  EXPECT_FALSE(streamsAt(18.1).outlines);
  EXPECT_TRUE(streamsAt(25.0).outlines);
  EXPECT_FALSE(streamsAt(24.8).outlines);
  EXPECT_FALSE(streamsAt(26.5).outlines);
  EXPECT_FALSE(streamsAt(27.0).curvePaths);
  // The cloud streams' sub-window ends before the layer opens at 18.05.
  EXPECT_FALSE(streamsAt(18.06).early);
}
}  // namespace
