#pragma once
#include <cstdio>
#include <memory>
#include <optional>

#include "app/frame_clock.h"
#include "app/live_playback.h"
#include "app/shell_state.h"
#include "core/rendition_kind.h"
#include "demo/demo_app.h"
#include "director/director_state.h"
#include "director/frame_inputs.h"
#include "director/music.h"
#include "director/timeline.h"
#include "gpu/offscreen_target.h"
#include "parts/demo_part.h"

// Everything the demo keeps for the whole run, in one place.
struct ProcessState {
  ShellState shell;
  DirectorState director;
  FrameInputs inputs;
  Timeline timeline;
  FrameClock clock;
  DemoApp app;
  OffscreenTarget offscreen;
  MusicPlayback music;
  std::unique_ptr<DemoPart> part;
  RenditionKind rendition = RenditionKind::shader;  // what the part plays

  // Where playback begins (demo time), and whether sound is played at all:
  // rendering plays none.
  double startTime = 0.0;
  bool soundOutput = true;
  LivePlayback live;

  // Set when start-up ends the run early: the exit code to end with.
  std::optional<int> startUpExit;
  // One line a frame for anyone measuring the run; null when not asked for.
  std::FILE* frameLog = nullptr;
};
