#pragma once
#include <optional>
#include <string>

#include "platform/message_box.h"

// What the command line asks for. Unset choices keep the dialog's defaults.
struct LaunchOptions {
  bool skipDialog = false;
  std::optional<bool> windowed;
  std::optional<bool> music;
  bool slowGpu = false;
  std::string dataDir;
  MessageRoute messages = MessageRoute::Box;
  std::string frameLog;  // file for one line a frame: demo time, music time, step
};

struct CommandLine {
  bool exitNow = false;  // help, version or a wrong command line
  int exitCode = 0;
  std::string out;  // text for stdout
  std::string err;  // text for stderr
  LaunchOptions options;
};

CommandLine parseCommandLine(int argc, const char* const* argv);
