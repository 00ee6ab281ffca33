#include <gtest/gtest.h>

#include "capture/progress_line.h"

namespace {
TEST(ProgressText, SaysFramesRateAndTimeLeft) {
  EXPECT_EQ(progressText(120, 1005, 3.0), "frame 120 of 1005 (11 %), 40.0 fps, 23 s left");
  EXPECT_EQ(progressText(0, 10, 0.0), "frame 0 of 10 (0 %)");
  EXPECT_EQ(progressText(10, 10, 2.0), "frame 10 of 10 (100 %), 5.0 fps, 0 s left");
}

TEST(ProgressLine, ALogGetsOneLineEachTenthATerminalOneLineRewritten) {
  ProgressLine log(1005, false, "capture: ");
  int lines = 0;
  for (int n = 1; n <= 1005; ++n) {
    const std::string text = log.update(n, n * 0.01);
    if (text.empty()) continue;
    ++lines;
    EXPECT_EQ(text.rfind("capture: frame ", 0), 0u);
    EXPECT_EQ(text.back(), '\n');
  }
  EXPECT_EQ(lines, 10);

  ProgressLine terminal(100, true, "");
  const std::string first = terminal.update(1, 0.0);
  EXPECT_EQ(first.front(), '\r');
  EXPECT_EQ(first.find('\n'), std::string::npos);
  EXPECT_EQ(terminal.update(2, 0.05), "");  // too soon to rewrite
  EXPECT_NE(terminal.update(3, 0.5), "");
  EXPECT_EQ(terminal.breakOff(), "\n");  // a message after it starts on its own line
  EXPECT_EQ(terminal.breakOff(), "");
  EXPECT_EQ(terminal.update(100, 0.51).back(), '\n');  // the last one always shows, and ends the line
}
}  // namespace
