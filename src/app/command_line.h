#pragma once
#include <optional>
#include <string>

#include "platform/message_box.h"

// Rendering chosen moments instead of playing live.
enum class RenderMode { Live, Shot, Capture, Bench };

struct RenderRequest {
  RenderMode mode = RenderMode::Live;
  // PNG file (shot); folder, or video by its extension (capture); JSON file
  // or nothing (bench).
  std::string out;
  int fps = 60;
  double start = 0.0;  // demo time of the first frame
  double end = 33.5;   // frames up to (not including) this demo time
};

// What the command line asks for. Unset choices keep the dialog's defaults.
struct LaunchOptions {
  bool skipDialog = false;
  std::optional<bool> windowed;
  std::optional<bool> music;
  bool slowGpu = false;
  std::string dataDir;
  MessageRoute messages = MessageRoute::Box;
  std::string frameLog;    // file for one line a frame: demo time, music time, step
  double startTime = 0.0;  // demo time playback begins at
  RenderRequest render;
};

struct CommandLine {
  bool exitNow = false;  // help, version or a wrong command line
  int exitCode = 0;
  std::string out;  // text for stdout
  std::string err;  // text for stderr
  LaunchOptions options;
};

CommandLine parseCommandLine(int argc, const char* const* argv);
