#include "app/command_line.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace {
constexpr int kUsageExit = 2;
}

CommandLine parseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  LaunchOptions& o = result.options;
  CLI::App app{"Velmora: a real-time demo. Without options it opens the setup dialog, then plays.", "velmora"};
  app.set_version_flag("--version", std::string("velmora ") + VELMORA_VERSION);

  bool run = false, windowed = false, fullscreen = false, music = false, noMusic = false;
  std::string messages = "box";
  app.add_flag("--run", run, "Skip the setup dialog, as if \"Run\" was pressed");
  auto* w = app.add_flag("--windowed", windowed, "Preset \"Windowed\"");
  auto* f = app.add_flag("--fullscreen", fullscreen, "Preset fullscreen (\"Windowed\" unchecked)");
  w->excludes(f);
  auto* m = app.add_flag("--music", music, "Preset \"Music\" checked");
  auto* n = app.add_flag("--no-music", noMusic, "Preset \"Music\" unchecked");
  m->excludes(n);
  app.add_flag("--slow-gpu", o.slowGpu, "Preset \"Slow graphics card\"");
  app.add_option("--data", o.dataDir, "Folder the data paths are relative to (default: here)")
      ->check(CLI::ExistingDirectory);
  app.add_option("--messages", messages, "box: real message boxes; stderr: one line each on stderr, default answers")
      ->check(CLI::IsMember({"box", "stderr"}));
  app.add_option("--frame-log", o.frameLog, "Write one line a frame to FILE: demo time, heard music time, frame step");

  std::ostringstream out, err;
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    result.exitNow = true;
    result.exitCode = app.exit(e, out, err);
  } catch (const CLI::CallForVersion& e) {
    result.exitNow = true;
    result.exitCode = app.exit(e, out, err);
  } catch (const CLI::ParseError& e) {
    result.exitNow = true;
    app.exit(e, out, err);
    err << app.help();
    result.exitCode = kUsageExit;
  }
  result.out = out.str();
  if (!result.out.empty() && result.out.back() != '\n') result.out += '\n';
  result.err = err.str();
  if (result.exitNow) return result;

  o.skipDialog = run;
  if (windowed || fullscreen) o.windowed = windowed;
  if (music || noMusic) o.music = music;
  o.messages = messages == "stderr" ? MessageRoute::Stderr : MessageRoute::Box;
  return result;
}
