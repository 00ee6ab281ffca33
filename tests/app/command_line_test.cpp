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
                                                                {"--data", "/no/such/folder/anywhere"}}) {
    const CommandLine c = parse(args);
    EXPECT_TRUE(c.exitNow) << args[0];
    EXPECT_EQ(c.exitCode, 2) << args[0];
    EXPECT_NE(c.err.find("Usage:"), std::string::npos) << args[0];
  }
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
