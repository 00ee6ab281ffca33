#include "launch/entry.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "app/command_line.h"
#include "app/frame_host.h"
#include "app/gl_shell.h"
#include "app/message_loop.h"
#include "app/process_state.h"
#include "app/setup_choice.h"
#include "app/start_up.h"
#include "core/diagnostics.h"
#include "core/picture_size.h"
#include "measure/bench_run.h"
#include "platform/gl_window.h"
#include "platform/message_box.h"
#include "platform/setup_dialog.h"
#include "render/render_run.h"

namespace {
bool enterDataFolder(const std::string& dir) {
  if (dir.empty()) return true;
  std::error_code error;
  std::filesystem::current_path(dir, error);
  if (error) {
    report(DiagnosticLevel::Error, "cannot use data folder \"" + dir + "\": " + error.message());
    return false;
  }
  return true;
}

// The dialog, unless the command line skipped it. False when the user quit
// (or there is no display to ask on) and the run ends with 0.
bool askSetup(const LaunchOptions& options, std::array<bool, 6>& checked) {
  if (options.skipDialog) return true;
  std::string videoError;
  if (!platformInitVideo(videoError)) {
    reportError("video", videoError);
    showMessage("ERROR", "Failed To Register The Window Class.", MessageIcon::Exclamation);
    return false;
  }
  switch (runSetupDialog(setup_dialog::kTemplate, checked)) {
    case DialogOutcome::Run:
      return true;
    case DialogOutcome::Quit:
      return false;
    case DialogOutcome::Unavailable:
      report(DiagnosticLevel::Warning,
             "the setup dialog could not be shown (" + platformError() + "); playing with the preset choices");
      return true;
  }
  return true;
}

// Rendering that ends before its first frame has written nothing: that is
// a failure for the script that asked, whatever a live run would return.
int renderNotStarted(const RenderRequest& render) {
  if (render.mode == RenderMode::Bench) {
    report(DiagnosticLevel::Error, "nothing was measured");
  } else {
    report(DiagnosticLevel::Error, "nothing was rendered to \"" + render.out + "\"");
  }
  return 1;
}

// What size the picture is drawn at: a live run follows its window unless
// a size was asked; shots and captures draw the frame's 4:3 picture, as
// many times larger as they supersample.
void choosePictureSize(ShellState& shell, const RenderRequest& render) {
  const bool rendering = render.mode != RenderMode::Live;
  shell.resizable = !rendering && !shell.fullscreen;
  if (!rendering && !render.sizeGiven) return;
  const PictureRect picture = fitPicture(render.width, render.height);
  shell.askedPictureWidth = picture.width * render.supersample;
  shell.askedPictureHeight = picture.height * render.supersample;
}

int play(ProcessState& s, const RenderRequest& render) {
  const bool rendering = render.mode != RenderMode::Live;
  choosePictureSize(s.shell, render);
  if (!openGLWindow(s.shell, kWindowTitle, kPictureWidth, kPictureHeight, 32, s.shell.fullscreen,
                    [&s] { startUp(s); })) {
    return rendering ? renderNotStarted(render) : 0;
  }
  int code = 0;
  if (s.startUpExit) {
    code = rendering ? renderNotStarted(render) : *s.startUpExit;
  } else if (render.mode == RenderMode::Bench) {
    code = runBench(s, render);
  } else if (rendering) {
    code = runRender(s, render);
  } else {
    code = runMessageLoop(
        s.shell, s.director, s.inputs, [&s] { return playFrame(s); }, [&s] { frameShown(s); });
  }
  // Every end leaves through here: the music stops first (its sound thread
  // reads the track this state owns), then the window closes.
  s.music.close();
  closeGLWindow(s.shell);
  return code;
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
  auto state = std::make_unique<ProcessState>();
  if (!options.frameLog.empty()) {
    state->frameLog = std::fopen(options.frameLog.c_str(), "w");
    if (state->frameLog == nullptr) {
      report(DiagnosticLevel::Error, "cannot write the frame log \"" + options.frameLog + "\"");
      return 2;
    }
  }
  // The output is named from where the user stands, not from the data folder.
  RenderRequest render = options.render;
  if (!render.out.empty()) render.out = std::filesystem::absolute(render.out).lexically_normal().string();
  if (!renderOutputWritable(render)) return 1;
  if (!enterDataFolder(options.dataDir)) return 2;

  std::array<bool, 6> checked = initialDialogChecks(options);
  int code = 0;
  if (askSetup(options, checked)) {
    applyDialogChecks(checked, state->shell);
    state->startTime = options.startTime;
    state->soundOutput = render.mode == RenderMode::Live;
    code = play(*state, render);
  }
  if (state->frameLog != nullptr) std::fclose(state->frameLog);
  // The video system is left to the end of the process, like every other
  // resource: shutting it down would unload the GL driver under its own
  // last allocations for nothing.
  return code;
}
