#include "app/start_up.h"

#include <cstdio>

#include "parts/plain_part.h"
#include "platform/gl_window.h"
#include "platform/message_box.h"

namespace {
// Opens the sound device and decodes the track; on failure the user is told
// why and the run ends: 1 when there is no sound device, 0 without a track.
bool startMusic(ProcessState& s) {
  std::string error;
  if (!s.music.init(error)) {
    std::fprintf(stderr, "velmora: sound device: %s\n", error.c_str());
    showMessage("Project effect 3. Fairmoot !  ", "Problem initializing FMod. \nProgram will now exit.",
                MessageIcon::Information);
    s.startUpExit = 1;
    return false;
  }
  if (!s.music.load(MusicPlayback::kTrackPath, error)) {
    std::fprintf(stderr, "velmora: %s: %s\n", MusicPlayback::kTrackPath, error.c_str());
    s.music.close();
    showMessage("Drov Velmora  ", "Problem initializing FMod. \nNo sound file.",
                MessageIcon::Information);
    s.startUpExit = 0;
    return false;
  }
  return true;
}
}  // namespace

void startUp(ProcessState& s) {
  s.app.resolutionMode = 2;
  s.app.textureBase = 0;
  s.shell.clipboardText.clear();

  s.part = std::make_unique<PlainPart>();
  s.part->setUp(&s.app);
  s.part->fragmentProgramsAvailable = 1;

  if (s.shell.musicEnabled && !startMusic(s)) return;
  platformSetSwapInterval(0);  // a driver that refuses simply keeps its own
  if (s.shell.musicEnabled) s.music.play();

  frameClockReset(s.clock);
  s.director.lastClock = frameClockRead(s.clock);
  s.timeline.fill();
  s.director.demoTime = 0.0;
  s.inputs.pointX = s.inputs.pointY = s.inputs.pointZ = 0.0;
  s.inputs.arrowHorizontal = s.inputs.arrowVertical = 0.0;
}
