#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/command_line.h"
#include "app/setup_choice.h"

namespace {
CommandLine parse(std::vector<const char*> args) {
  args.insert(args.begin(), "velmora");
  return parseCommandLine(static_cast<int>(args.size()), args.data());
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

// The command lines of a list, "|" apart; an empty word stands for "".
std::vector<std::vector<std::string>> commandLines(const std::string& list) {
  std::vector<std::vector<std::string>> lines(1);
  std::istringstream words(list);
  for (std::string word; words >> word;) {
    if (word == "|") lines.emplace_back();
    if (word != "|") lines.back().push_back(word == "''" ? "" : word);
  }
  return lines;
}

CommandLine parseWords(const std::vector<std::string>& args) {
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());
  return parse(argv);
}

// Every limit from both sides: the last value accepted, the first refused.
TEST(CommandLine, LimitsAcceptTheirLastValueAndRefuseTheNextInOneLineAndTwo) {
  for (const auto& args :
       commandLines("--start 0 | --start 33.499 | --shot 0 a.png | --shot 33.499 a.png | --capture d --fps 1 | "
                    "--capture d --fps 1000 | --capture d --end 33.5 | --capture d --start 5 --end 5.001 | "
                    "--bench --rendition alpha | --shot 1 a.png --fps 1000 | --shot 1 a.png --size 160x120 | "
                    "--capture d --size 16384x16384 | --run --size 1920x1080 | --bench --size 3840x2160 | "
                    "--shot 1 a.png --supersample 1 | --capture d --supersample 4")) {
    const CommandLine c = parseWords(args);
    EXPECT_FALSE(c.exitNow) << testing::PrintToString(args) << ": " << c.err;
  }
  for (const auto& args : commandLines(
           "--bogus | stray | --windowed --fullscreen | --music --no-music | --messages popup | --data | "
           "--data /no/such/folder/anywhere | --start 33.5 | --start -0.001 | --shot 12.5 | --shot soon a.png | "
           "--shot 33.5 a.png | --shot -1 a.png | --shot 1 a.png --start 2 | --shot 1 a.png --capture d | "
           "--capture d --fps 0 | --capture d --fps 1001 | --capture d --start 5 --end 5 | "
           "--capture d --end 33.501 | --end 3 | --fps 30 | --rendition beta | --bench --rendition gamma | "
           "--bench-json f.json | --bench --capture d | --bench --start 3 | --shot 1 '' | "
           "--shot 1 a.png --size 159x120 | --shot 1 a.png --size 160x119 | --shot 1 a.png --size 16385x600 | "
           "--shot 1 a.png --size 1920 | --shot 1 a.png --size big | --shot 1 a.png --supersample 0 | "
           "--shot 1 a.png --supersample 5 | --run --supersample 2 | --bench --supersample 2")) {
    const CommandLine c = parseWords(args);
    EXPECT_TRUE(c.exitNow && c.exitCode == 2) << testing::PrintToString(args);
    // One line in the program's voice.
    EXPECT_EQ(c.err.rfind("velmora: ", 0), 0u) << c.err;
    EXPECT_EQ(c.err.find('\n'), c.err.size() - 1) << c.err;
  }
}

// What a command line asks for, in one line: the mode, its output, frames a
// second, start and end, then the start of a live run, and which of
// windowed, messages on stderr, music, slow card and no dialog it sets.
std::string asked(const std::vector<const char*>& args) {
  const CommandLine c = parse(args);
  const LaunchOptions& o = c.options;
  std::ostringstream s;
  s << std::vector<std::string>{"live", "shot", "capture", "bench"}[int(o.render.mode)] << " " << o.render.out << " "
    << o.render.fps << " " << o.render.start << "-" << o.render.end << " " << o.startTime << " "
    << o.windowed.value_or(false) << (o.messages == MessageRoute::Stderr) << o.music.value_or(true) << o.slowGpu
    << o.skipDialog;
  return c.exitNow ? c.err : s.str();
}

// Shots and captures skip the dialog, play windowed (a picture of the
// window, never the screen) and send messages to stderr unless asked not
// to; the bench runs at 30 steps a second unless told.
TEST(CommandLine, ShotsCapturesAndBenchesSkipTheDialogPlayWindowedAndSendMessagesToStderr) {
  EXPECT_EQ(asked({"--shot", "12.5", "a.png"}), "shot a.png 60 12.5-33.5 0 11101");
  EXPECT_EQ(asked({"--capture", "out.mp4", "--fps", "30", "--start", "5", "--end", "6", "--messages", "box",
                   "--fullscreen", "--no-music"}),
            "capture out.mp4 30 5-6 5 10001");
  EXPECT_EQ(asked({"--bench", "--rendition", "beta", "--bench-json", "f.json"}), "bench f.json 30 0-33.5 0 11111");
  EXPECT_EQ(asked({"--bench", "--fps", "10"}), "bench  10 0-33.5 0 11101");
  EXPECT_EQ(asked({"--start", "30"}), "live  60 0-33.5 30 00100");
}

TEST(SetupChoice, DialogOpensWithMusicCheckedOnlyUnlessTheCommandLinePresetsTheBoxes) {
  ShellState shell;
  applyDialogChecks(initialDialogChecks(LaunchOptions{}), shell);
  EXPECT_EQ(std::tuple(shell.musicEnabled, shell.fullscreen, shell.slowCard), std::tuple(true, true, false));
  LaunchOptions asked;
  asked.windowed = true;
  asked.music = false;
  asked.slowGpu = true;
  applyDialogChecks(initialDialogChecks(asked), shell);
  EXPECT_EQ(std::tuple(shell.musicEnabled, shell.fullscreen, shell.slowCard), std::tuple(false, false, true));
}
}  // namespace
