#include "app/start_up.h"

#include <GL/gl.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/classify_gpu.h"
#include "app/demo_seek.h"
#include "app/gl_shell.h"
#include "app/loading_screen.h"
#include "app/part_choice.h"
#include "app/picture_fit.h"
#include "app/process_state.h"
#include "core/diagnostics.h"
#include "director/frame_driver.h"
#include "effects/billboard.h"
#include "gpu/gl_entry_points.h"
#include "parts/part_set_up.h"
#include "platform/gl_window.h"
#include "platform/message_box.h"

namespace {
constexpr const char* kNoFragmentPrograms =
    "Graphics card does not support fragment programs. \n \nCards supported are: \n"
    "-------------------------- \n NVidia Geforce FX+ \n Radeon 9500+ \n \n The demo will play "
    "using OpenGL 1.0.";

// Opens the sound device and decodes the track; on failure the user is told
// why and the run ends: 1 when there is no sound device, 0 without a track.
bool startMusic(ProcessState& s) {
  std::string error;
  if (!s.music.init(error)) {
    reportError("sound device", error);
    showMessage("Project effect 3. Fairmoot !  ", "Problem initializing FMod. \nProgram will now exit.",
                MessageIcon::Information);
    s.startUpExit = 1;
    return false;
  }
  if (!s.music.load(MusicPlayback::kTrackPath, error)) {
    reportError(MusicPlayback::kTrackPath, error);
    s.music.close();
    showMessage("Drov Velmora  ", "Problem initializing FMod. \nNo sound file.", MessageIcon::Information);
    s.startUpExit = 0;
    return false;
  }
  // A damaged or short track still plays; the user hears why it falls silent.
  const PcmTrack& track = s.music.track();
  const double seconds = double(track.frames()) / track.rate;
  if (track.holes > 0) {
    reportWarning(MusicPlayback::kTrackPath, track.holes == 1 ? "a damaged stretch could not be decoded and is left out"
                                                              : std::to_string(track.holes) +
                                                                    " damaged stretches could not be decoded and are "
                                                                    "left out");
  }
  if (seconds < kDemoEndTime) {
    char ends[160];
    std::snprintf(ends, sizeof ends, "the track ends at %.1f s, before the demo's %.1f s: silence after it", seconds,
                  kDemoEndTime);
    reportWarning(MusicPlayback::kTrackPath, ends);
  }
  return true;
}

// The picture's size for this window and display. A software rasteriser
// playing live draws the production's own size unless a size was asked.
bool fitFirstPicture(ProcessState& s) {
  ShellState& shell = s.shell;
  const GLubyte* renderer = glGetString(GL_RENDERER);
  if (shell.askedPictureWidth == 0 && renderer != nullptr &&
      softwareRenderer(reinterpret_cast<const char*>(renderer))) {
    shell.askedPictureWidth = kPictureWidth;
    shell.askedPictureHeight = kPictureHeight;
  }
  std::string error;
  if (fitPictureToWindow(s, error)) return true;
  reportError("picture", error);
  showMessage("ERROR", "The picture is larger than this graphics card can draw.", MessageIcon::Exclamation);
  s.startUpExit = 1;
  return false;
}

bool makeOffscreenTarget(ProcessState& s) {
  std::string error;
  if (createOffscreenTarget(s.offscreen, s.app.picture.targetWidth, s.app.picture.targetHeight, error)) return true;
  reportError("offscreen target", error);
  showMessage(" ", "PBuffers not supported ! ", MessageIcon::Information);
  s.startUpExit = 0;
  return false;
}

// A context of the core profile has no extension string, only a list.
std::string extensionString() {
  if (const GLubyte* all = glGetString(GL_EXTENSIONS)) return reinterpret_cast<const char*>(all);
  std::string joined;
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    if (const GLubyte* one = glExtensionTable.glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i))) {
      joined += reinterpret_cast<const char*>(one);
      joined += ' ';
    }
  }
  return joined;
}

bool shaderRenditionPlayable() {
  const GLubyte* version = glGetString(GL_VERSION);
  return shaderRenditionOffered(version != nullptr ? reinterpret_cast<const char*>(version) : "", extensionString());
}

// The loading screen from black to full brightness, or back: eleven frames
// in steps of a tenth. False when the picture is missing.
bool fadeLoadingScreen(ProcessState& s, bool in) {
  for (int i = 0; i <= 10; ++i) {
    const double level = in ? i * 0.1 : 1.0 - i * 0.1;
    if (!drawLoadingScreen(s.app.textures, s.shell, level)) return false;
  }
  return true;
}

// The loading picture and the set-up's pictures decode on worker threads
// from before the first loading frame, so the set-up mostly uploads; the
// loading picture is decoded once for all the frames that show it. What
// start-up did not take is freed when it ends, however it ends.
class StartUpPrefetch {
 public:
  StartUpPrefetch(TextureTable& textures, RenditionKind kind) : textures_(textures) {
    std::vector<PictureRequest> pictures{{kLoadingPicture, RowOrder::BottomFirst, false, true}};
    for (PictureRequest& p : setUpPictures(kind)) pictures.push_back(std::move(p));
    textures_.prefetch(std::move(pictures));
  }
  ~StartUpPrefetch() { textures_.endPrefetch(); }
  StartUpPrefetch(const StartUpPrefetch&) = delete;
  StartUpPrefetch& operator=(const StartUpPrefetch&) = delete;

 private:
  TextureTable& textures_;
};

// A picture that could not be loaded has shown its message already.
void endForMissingPicture(ProcessState& s) { s.startUpExit = 0; }
}  // namespace

void startUp(ProcessState& s) {
  s.app.resolutionMode = 2;
  screenCopyMode = 2;  // not a slip: the billboard code reads its own copy of the resolution mode
  if (!fitFirstPicture(s) || !makeOffscreenTarget(s)) return;
  classifyGpu(s.app);

  bool fragmentSupport = true;
  if (!s.shell.slowCard && !shaderRenditionPlayable()) {
    showMessage(kWindowTitle, kNoFragmentPrograms, MessageIcon::Information);
    fragmentSupport = false;
  }
  s.app.textures.textureBase = 0;
  s.shell.clipboardText.clear();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  s.app.textures.textureBase = 0;  // twice on purpose: each step of the start-up sets what it relies on

  s.rendition = chooseRendition(s.shell.slowCard, fragmentSupport);
  const StartUpPrefetch prefetch(s.app.textures, s.rendition);
  if (!fadeLoadingScreen(s, true)) return endForMissingPicture(s);
  s.part = createPart(s.rendition);
  s.part->setUp(&s.app);
  if (s.app.textures.loadingFailed()) return endForMissingPicture(s);
  if (!fadeLoadingScreen(s, false)) return endForMissingPicture(s);

  // Rendering plays no sound: the track is only read if a video needs it.
  if (s.shell.musicEnabled && s.soundOutput && !startMusic(s)) return;
  platformSetSwapInterval(0);  // a driver that refuses simply keeps its own

  s.inputs.pointX = s.inputs.pointY = s.inputs.pointZ = 0.0;
  s.inputs.arrowHorizontal = s.inputs.arrowVertical = 0.0;
  // The music starts, the clock is reset, the cue table filled and demo
  // time set, at the chosen start (0 unless asked).
  enterLiveAt(s, s.startTime);
}
