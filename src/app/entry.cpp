#include "app/entry.h"

#include <GL/gl.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/command_line.h"
#include "app/frame_clock.h"
#include "app/gl_shell.h"
#include "app/message_loop.h"
#include "app/setup_choice.h"
#include "director/director_state.h"
#include "director/frame_inputs.h"
#include "director/timeline.h"
#include "platform/gl_window.h"
#include "platform/message_box.h"
#include "platform/setup_dialog.h"

namespace {
// Everything the demo keeps for the whole run, in one place.
struct ProcessState {
  ShellState shell;
  DirectorState director;
  FrameInputs inputs;
  Timeline timeline;
  FrameClock clock;
};

// Start-up work that runs inside the window creation, with the context current.
void startUp(ProcessState&) {}

// One frame: for now, a cleared screen.
void runFrame(ProcessState&) { glClear(GL_COLOR_BUFFER_BIT); }

bool enterDataFolder(const std::string& dir) {
  if (dir.empty()) return true;
  std::error_code error;
  std::filesystem::current_path(dir, error);
  if (error) {
    std::fprintf(stderr, "velmora: cannot use data folder \"%s\": %s\n", dir.c_str(),
                 error.message().c_str());
    return false;
  }
  return true;
}
}  // namespace

int velmoraMain(int argc, char** argv) {
  const CommandLine commandLine = parseCommandLine(argc, argv);
  if (commandLine.exitNow) {
    std::fputs(commandLine.out.c_str(), stdout);
    std::fputs(commandLine.err.c_str(), stderr);
    return commandLine.exitCode;
  }
  const LaunchOptions& options = commandLine.options;
  setMessageRoute(options.messages);
  if (!enterDataFolder(options.dataDir)) return 2;

  auto state = std::make_unique<ProcessState>();
  std::array<bool, 6> checked = initialDialogChecks(options);
  if (!options.skipDialog) {
    std::string videoError;
    if (!platformInitVideo(videoError)) {
      std::fprintf(stderr, "velmora: video: %s\n", videoError.c_str());
      showMessage("ERROR", "Failed To Register The Window Class.", MessageIcon::Exclamation);
      return 0;
    }
    const DialogOutcome outcome = runSetupDialog(setup_dialog::kTemplate, checked);
    if (outcome == DialogOutcome::Quit) {
      platformQuitVideo();
      return 0;
    }
    if (outcome == DialogOutcome::Unavailable) {
      std::fprintf(stderr, "velmora: the setup dialog could not be shown (%s); "
                   "playing with the preset choices\n", platformError().c_str());
    }
  }
  applyDialogChecks(checked, state->shell);

  ProcessState& s = *state;
  if (!openGLWindow(s.shell, kWindowTitle, 800, 600, 32, s.shell.fullscreen,
                    [&s] { startUp(s); })) {
    platformQuitVideo();
    return 0;
  }
  const int code = runMessageLoop(s.shell, s.director, s.inputs, [&s] { runFrame(s); });
  platformQuitVideo();
  return code;
}
