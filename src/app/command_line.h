#pragma once
#include <optional>
#include <string>

#include "core/picture_size.h"
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
  // The frame size of shots and captures; live and in the benchmark, the
  // size of the picture drawn (`sizeGiven`), which then no longer follows
  // the window. The 4:3 picture is centred in a frame of another shape.
  int width = kPictureWidth;
  int height = kPictureHeight;
  bool sizeGiven = false;
  // Shots and captures: the picture is drawn this many times larger and
  // filtered down.
  int supersample = 1;
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
