#include "core/diagnostics.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
TEST(Diagnostics, MessageLineKeepsTheTextWithLineBreaksEscaped) {
  EXPECT_EQ(messageLine("Drov Velmora  ", "Problem initializing FMod. \nNo sound file."),
            "Drov Velmora  : Problem initializing FMod. \\nNo sound file.");
}

TEST(Diagnostics, EveryLevelIsOneFlushedLineOnStderrInTheProgramsFormat) {
  testing::internal::CaptureStderr();
  report(DiagnosticLevel::Info, "plain");
  reportError("music/velmora.ogg", "no such file");
  reportWarning("textures/a.jpg", "damaged");
  reportMessage("Jpg", "textures/a.jpg\nagain");
  setDiagnosticProgram("velmora-inspect");
  reportError("x.3ds", "cannot open");
  setDiagnosticProgram("velmora");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "velmora: plain\n"
            "velmora: music/velmora.ogg: no such file\n"
            "velmora: textures/a.jpg: damaged\n"
            "Jpg: textures/a.jpg\\nagain\n"
            "velmora-inspect: x.3ds: cannot open\n");
}

TEST(Diagnostics, AWriterTakesTheLinesWithTheirLevelsUntilStderrIsRestored) {
  std::vector<std::pair<DiagnosticLevel, std::string>> seen;
  setDiagnosticWriter([&](DiagnosticLevel level, const std::string& line) { seen.emplace_back(level, line); });
  reportError("capture.png", "disk full");
  reportMessage("ERROR", "Program Will Now Close.");
  setDiagnosticWriter({});
  testing::internal::CaptureStderr();
  report(DiagnosticLevel::Warning, "after");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "velmora: after\n");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::pair(DiagnosticLevel::Error, std::string("velmora: capture.png: disk full")));
  EXPECT_EQ(seen[1], std::pair(DiagnosticLevel::Message, std::string("ERROR: Program Will Now Close.")));
}
}  // namespace
