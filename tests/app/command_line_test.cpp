#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "app/command_line.h"
#include "app/setup_choice.h"

namespace {
CommandLine parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv = {"velmora"};
  argv.insert(argv.end(), args);
  return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(CommandLine, NoOptionsMeansTheDialogWithItsOwnDefaults) {
  const CommandLine c = parse({});
  ASSERT_FALSE(c.exitNow);
  EXPECT_FALSE(c.options.skipDialog);
  EXPECT_FALSE(c.options.windowed.has_value());
  EXPECT_FALSE(c.options.music.has_value());
  EXPECT_FALSE(c.options.slowGpu);
  EXPECT_TRUE(c.options.dataDir.empty());
  EXPECT_EQ(c.options.messages, MessageRoute::Box);
}

TEST(CommandLine, EveryOptionIsRead) {
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

TEST(CommandLine, HelpAndVersionPrintAndExitZero) {
  const CommandLine help = parse({"--help"});
  EXPECT_TRUE(help.exitNow);
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("--messages"), std::string::npos);
  const CommandLine version = parse({"--version"});
  EXPECT_TRUE(version.exitNow);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("velmora ", 0), 0u);
}

TEST(CommandLine, WrongCommandLinesPrintTheUsageAndExitTwo) {
  for (const auto& args : std::vector<std::vector<const char*>>{
           {"--bogus"},
           {"stray"},
           {"--windowed", "--fullscreen"},
           {"--music", "--no-music"},
           {"--messages", "popup"},
           {"--data"},
           {"--data", "/no/such/folder/anywhere"}}) {
    std::vector<const char*> argv = {"velmora"};
    argv.insert(argv.end(), args.begin(), args.end());
    const CommandLine c = parseCommandLine(static_cast<int>(argv.size()), argv.data());
    EXPECT_TRUE(c.exitNow) << args[0];
    EXPECT_EQ(c.exitCode, 2) << args[0];
    EXPECT_NE(c.err.find("Usage:"), std::string::npos) << args[0];
  }
}

TEST(SetupChoice, DialogOpensWithMusicCheckedOnly) {
  ShellState shell;
  applyDialogChecks(initialDialogChecks(LaunchOptions{}), shell);
  EXPECT_TRUE(shell.musicEnabled);
  EXPECT_TRUE(shell.fullscreen);
  EXPECT_FALSE(shell.slowCard);
}

TEST(SetupChoice, CommandLinePresetsTheBoxes) {
  LaunchOptions o;
  o.music = false;
  o.windowed = true;
  o.slowGpu = true;
  ShellState shell;
  applyDialogChecks(initialDialogChecks(o), shell);
  EXPECT_FALSE(shell.musicEnabled);
  EXPECT_FALSE(shell.fullscreen);
  EXPECT_TRUE(shell.slowCard);
}
}  // namespace
