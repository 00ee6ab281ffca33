// Live input while frames are slow: a person's tap lasts about one frame at
// 10 frames a second, so its press and release often arrive between two.
#include <gtest/gtest.h>

#include "child_process.h"
#include "run_folder.h"
#include "virtual_display.h"

namespace {
class LiveInputTest : public ::testing::TestWithParam<bool> {
 protected:
  VirtualDisplay display;
  RunFolder run;
};

TEST_P(LiveInputTest, AQuickEscapeTapDuringSlowFramesStartsTheFade) {
  ASSERT_TRUE(display.ok());
  std::vector<std::string> args{"--run",  "--windowed",  "--no-music",          "--messages",
                                "stderr", "--data",      VELMORA_DATA_DIR,      "--start",
                                "8.5",    "--frame-log", run.path("frames.log")};
  if (GetParam()) args.push_back("--slow-gpu");
  // Every swap held to 100 ms: frames slower than a tap.
  ChildProcess p(VELMORA_EXECUTABLE, args,
                 {{"DISPLAY", display.name()},
                  {"SDL_AUDIODRIVER", "dummy"},
                  {"LD_PRELOAD", VELMORA_SWAP_WATCH},
                  {"VELMORA_SWAP_DELAY_MS", "100"}});
  const auto window = display.waitForWindow(kDemoTitle, 60.0);
  ASSERT_TRUE(window.has_value()) << p.err();
  ASSERT_TRUE(waitUntil(
      [&] {
        const std::vector<double> t = run.frameTimes();
        return !t.empty() && t.back() >= 9.0;
      },
      60.0))
      << p.err();
  // Press and release a few milliseconds apart, as xdotool's key does.
  display.xdotool("key --delay 5 --window " + std::to_string(window->id) + " Escape");
  EXPECT_EQ(p.waitExit(60.0), std::optional<int>(0)) << p.err();
  const std::vector<double> times = run.frameTimes();
  ASSERT_FALSE(times.empty());
  // The fade lasts 1.25 s of demo time; without the tap the run goes to 33.5 s.
  EXPECT_LT(times.back(), 12.0);
}

INSTANTIATE_TEST_SUITE_P(BothRenditions, LiveInputTest, ::testing::Values(false, true),
                         [](const auto& test) { return test.param ? "FixedFunction" : "Shader"; });
}  // namespace
