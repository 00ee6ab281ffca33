#include <gtest/gtest.h>

#include <vector>

#include "app/command_line.h"
#include "app/setup_choice.h"

namespace {
CommandLine parse(const std::vector<const char*>& args) {
  std::vector<const char*> argv = {"velmora"};
  argv.insert(argv.end(), args.begin(), args.end());
  return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NoOptionsMeansTheDialogAndEveryOptionIsRead) {
  const CommandLine none = parse({});
  ASSERT_FALSE(none.exitNow);
  EXPECT_FALSE(none.options.skipDialog);
  EXPECT_FALSE(none.options.windowed.has_value());
  EXPECT_FALSE(none.options.music.has_value());
  EXPECT_EQ(none.options.messages, MessageRoute::Box);

  const CommandLine c =
      parse({"--run", "--windowed", "--no-music", "--slow-gpu", "--data", "/", "--messages", "stderr"});
  ASSERT_FALSE(c.exitNow) << c.err;
  EXPECT_TRUE(c.options.skipDialog);
  EXPECT_EQ(c.options.windowed, true);
  EXPECT_EQ(c.options.music, false);
  EXPECT_TRUE(c.options.slowGpu);
  EXPECT_EQ(c.options.dataDir, "/");
  EXPECT_EQ(c.options.messages, MessageRoute::Stderr);
  EXPECT_EQ(parse({"--fullscreen", "--music"}).options.windowed, false);
  EXPECT_EQ(parse({"--fullscreen", "--music"}).options.music, true);
}

TEST(CommandLine, WrongCommandLinesPrintTheUsageAndExitTwo) {
  for (const auto& args : std::vector<std::vector<const char*>>{{"--bogus"},
                                                                {"stray"},
                                                                {"--windowed", "--fullscreen"},
                                                                {"--music", "--no-music"},
                                                                {"--messages", "popup"},
                                                                {"--data"},
                                                                {"--data", "/no/such/folder/anywhere"},
                                                                {"--start", "33.5"},
                                                                {"--start", "-1"},
                                                                {"--shot", "12.5"},
                                                                {"--shot", "soon", "a.png"},
                                                                {"--shot", "40", "a.png"},
                                                                {"--shot", "1", "a.png", "--start", "2"},
                                                                {"--shot", "1", "a.png", "--capture", "d"},
                                                                {"--capture", "d", "--fps", "0"},
                                                                {"--capture", "d", "--start", "5", "--end", "5"},
                                                                {"--capture", "d", "--end", "34"},
                                                                {"--end", "3"},
                                                                {"--fps", "30"},
                                                                {"--rendition", "beta"},
                                                                {"--bench", "--rendition", "gamma"},
                                                                {"--bench-json", "f.json"},
                                                                {"--bench", "--capture", "d"},
                                                                {"--bench", "--start", "3"}}) {
    const CommandLine c = parse(args);
    EXPECT_TRUE(c.exitNow) << args[0];
    EXPECT_EQ(c.exitCode, 2) << args[0];
    EXPECT_EQ(c.err.rfind("velmora: ", 0), 0u) << c.err;
    EXPECT_EQ(c.err.find('\n'), c.err.size() - 1) << c.err;  // one line
  }
}

TEST(CommandLine, ShotsAndCapturesSkipTheDialogPlayWindowedAndSendMessagesToStderr) {
  const CommandLine shot = parse({"--shot", "12.5", "a.png"});
  ASSERT_FALSE(shot.exitNow) << shot.err;
  EXPECT_EQ(shot.options.render.mode, RenderMode::Shot);
  EXPECT_EQ(shot.options.render.start, 12.5);
  EXPECT_EQ(shot.options.render.out, "a.png");
  EXPECT_EQ(shot.options.render.fps, 60);
  EXPECT_TRUE(shot.options.skipDialog);
  EXPECT_EQ(shot.options.windowed, true);
  EXPECT_EQ(shot.options.messages, MessageRoute::Stderr);

  const CommandLine capture = parse({"--capture", "out.mp4", "--fps", "30", "--start", "5", "--end", "6", "--messages",
                                     "box", "--fullscreen", "--no-music"});
  ASSERT_FALSE(capture.exitNow) << capture.err;
  EXPECT_EQ(capture.options.render.mode, RenderMode::Capture);
  EXPECT_EQ(capture.options.render.fps, 30);
  EXPECT_EQ(capture.options.render.start, 5.0);
  EXPECT_EQ(capture.options.render.end, 6.0);
  EXPECT_EQ(capture.options.windowed, true);               // a picture of the window, never the screen
  EXPECT_EQ(capture.options.messages, MessageRoute::Box);  // asked for
  EXPECT_EQ(capture.options.music, false);

  const CommandLine bench = parse({"--bench", "--rendition", "beta", "--bench-json", "f.json"});
  ASSERT_FALSE(bench.exitNow) << bench.err;
  EXPECT_EQ(bench.options.render.mode, RenderMode::Bench);
  EXPECT_EQ(bench.options.render.fps, 30);  // the bench's own default
  EXPECT_EQ(bench.options.render.out, "f.json");
  EXPECT_TRUE(bench.options.slowGpu);
  EXPECT_TRUE(bench.options.skipDialog);
  EXPECT_EQ(parse({"--bench", "--fps", "10"}).options.render.fps, 10);
  EXPECT_FALSE(parse({"--bench"}).options.slowGpu);

  const CommandLine live = parse({"--start", "30"});
  EXPECT_EQ(live.options.startTime, 30.0);
  EXPECT_EQ(live.options.render.mode, RenderMode::Live);
  EXPECT_FALSE(live.options.skipDialog);
}

TEST(SetupChoice, DialogOpensWithMusicCheckedOnlyUnlessTheCommandLinePresetsTheBoxes) {
  ShellState shell;
  applyDialogChecks(initialDialogChecks(LaunchOptions{}), shell);
  EXPECT_TRUE(shell.musicEnabled);
  EXPECT_TRUE(shell.fullscreen);
  EXPECT_FALSE(shell.slowCard);

  LaunchOptions o;
  o.music = false;
  o.windowed = true;
  o.slowGpu = true;
  applyDialogChecks(initialDialogChecks(o), shell);
  EXPECT_FALSE(shell.musicEnabled);
  EXPECT_FALSE(shell.fullscreen);
  EXPECT_TRUE(shell.slowCard);
}
}  // namespace
