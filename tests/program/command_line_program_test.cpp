// The binary's answers to its command line and to a missing display.
#include <gtest/gtest.h>

#include "child_process.h"

namespace {
using Env = std::vector<std::pair<std::string, std::string>>;

struct Outcome {
  std::optional<int> code;
  std::string out;
  std::string err;
};

Outcome run(const std::vector<std::string>& args, const Env& env = {}) {
  ChildProcess p(VELMORA_EXECUTABLE, args, env);
  Outcome o;
  o.code = p.waitExit(30.0);
  o.out = p.out();
  o.err = p.err();
  return o;
}

TEST(CommandLineProgram, HelpAndVersion) {
  const Outcome help = run({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("--run"), std::string::npos);
  const Outcome version = run({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out.rfind("velmora ", 0), 0u) << version.out;
}

// What the parser refuses reaches stderr, naming what was wrong.
TEST(CommandLineProgram, WrongCommandLinesExitTwoNamingTheFault) {
  for (const auto& [args, named] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--fast"}, "--fast"},
           {{"--run", "--data", "/no/such/velmora/data"}, "/no/such/velmora/data"},
           {{"--music", std::string(100000, 'x')}, std::string(60, 'x')}}) {
    const Outcome o = run(args);
    EXPECT_EQ(o.code, 2) << named;
    EXPECT_NE(o.err.find(named), std::string::npos) << o.err;
    // One line in the program's voice, however long the argument.
    EXPECT_EQ(o.err.rfind("velmora: ", 0), 0u) << o.err;
    EXPECT_EQ(o.err.find('\n'), o.err.size() - 1) << o.err.substr(0, 300);
    EXPECT_LT(o.err.size(), 300u);
  }
}

TEST(CommandLineProgram, NoDisplayGivesTheWindowClassMessageAndZero) {
  for (const auto& args :
       std::vector<std::vector<std::string>>{{"--run", "--messages", "stderr"}, {"--messages", "stderr"}, {"--run"}}) {
    const Outcome o = run(args, {{"DISPLAY", ":1999"}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(o.code, 0) << o.err;
    // Without a display even a real box falls back to stderr.
    EXPECT_NE(o.err.find("ERROR: Failed To Register The Window Class."), std::string::npos) << o.err;
  }
}

// A result that cannot be written is refused before any work: even before
// the window, so without a display the message is the output's, not the
// window's.
TEST(CommandLineProgram, UnwritableOutputsAreRefusedBeforeTheWindowOpens) {
  for (const auto& [args, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
           {{"--shot", "3", "/no/such/folder/x.png"}, "velmora: shot: cannot write \"/no/such/folder/x.png\""},
           {{"--capture", "/no/such/folder/run.mp4"}, "velmora: capture: cannot write \"/no/such/folder/run.mp4\""},
           {{"--bench", "--bench-json", "/no/such/folder/b.json"},
            "velmora: bench: cannot write \"/no/such/folder/b.json\""}}) {
    const Outcome o = run(args, {{"DISPLAY", ":1999"}, {"WAYLAND_DISPLAY", ""}});
    EXPECT_EQ(o.code, 1) << o.err;
    EXPECT_EQ(o.err.rfind(expected, 0), 0u) << o.err;
    EXPECT_EQ(o.err.find("Window Class"), std::string::npos) << o.err;
  }
}
}  // namespace
